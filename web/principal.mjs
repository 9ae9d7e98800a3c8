// Starts the course page: the terminal and the drawing, then the program's dialogue,
// and another one each time the last has ended and the user asks for it.
import "@xterm/xterm/css/xterm.css";
import "./pagina.css";
import criaPrograma from "programa";
import { criaDesenho } from "./desenho.mjs";
import { criaPrevisao, ligaMemoria } from "./previsao.mjs";
import { abreTerminal } from "./terminal.mjs";

const terminal = abreTerminal(document.getElementById("terminal"));
const desenho = criaDesenho(document.getElementById("desenho"), () => terminal.terminal.focus());
const previsao = criaPrevisao(document.getElementById("desenho"), desenho, terminal);
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
// What pagina.cpp calls: the terminal's reads and writes, and the drawing's steps
// (through the questions of "Prever"); and what the page calls in it.
const programa = await criaPrograma({ pagina: { ...terminal, passo: previsao.passo } });
ligaMemoria(document.getElementById("memoria"), (nos) => programa._Limita_Memoria(nos));
for (;;) {
  mostraFim(false);
  await programa.ccall("Dialoga", "number", [], [], { async: true });
  mostraFim(true);
  await terminal.esperaEnter();
}
