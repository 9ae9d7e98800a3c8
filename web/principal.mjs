// Starts the course page: the terminal and the drawing, then the program's dialogue,
// and another one each time the last has ended and the user asks for it.
import "@xterm/xterm/css/xterm.css";
import "./pagina.css";
import criaPrograma from "programa";
import { criaDesenho } from "./desenho.mjs";
import { criaLigacao } from "./ligacao.mjs";
import { abreTerminal } from "./terminal.mjs";

const terminal = abreTerminal(document.getElementById("terminal"));
const desenho = criaDesenho(document.getElementById("desenho"), () => terminal.terminal.focus());
const ligacao = criaLigacao(terminal, desenho);
const aviso = document.getElementById("aviso");
const recomeca = document.getElementById("recomeca");
recomeca.addEventListener("click", () => {
  terminal.tecleEnter();
  terminal.terminal.focus();
});

function mostraFim(terminou) {
  aviso.textContent = terminou
    ? "Fim do diálogo: tecle Enter ou clique em Recomeçar para começar outro."
    : "";
  recomeca.hidden = !terminou;
}

terminal.terminal.focus();
// What pagina.cpp calls: the terminal's reads and writes, and the drawing's steps,
// watched by the link, which types its expressions at the prompt.
const pagina = ligacao.vigia({ ...terminal, passo: desenho.passo });
const programa = await criaPrograma({ pagina });
for (;;) {
  mostraFim(false);
  await programa.ccall("Dialoga", "number", [], [], { async: true });
  mostraFim(true);
  await terminal.esperaEnter();
}
