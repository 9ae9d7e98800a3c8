// Starts the course page: the terminal, then the program's dialogue, and another one
// each time the last has ended and the user asks for it.
import "@xterm/xterm/css/xterm.css";
import "./pagina.css";
import criaPrograma from "programa";
import { abreTerminal } from "./terminal.mjs";

const pagina = abreTerminal(document.getElementById("terminal"));
const aviso = document.getElementById("aviso");
const recomeca = document.getElementById("recomeca");
recomeca.addEventListener("click", () => {
  pagina.tecleEnter();
  pagina.terminal.focus();
});

function mostraFim(terminou) {
  aviso.textContent = terminou ? "Fim do diálogo: tecle Enter ou clique em Recomeçar para começar outro." : "";
  recomeca.hidden = !terminou;
}

pagina.terminal.focus();
const programa = await criaPrograma({ pagina });
for (;;) {
  mostraFim(false);
  await programa.ccall("Dialoga", "number", [], [], { async: true });
  mostraFim(true);
  await pagina.esperaEnter();
}
