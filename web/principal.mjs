// Starts the course page: the terminal and the drawing, then the program's dialogue,
// and another one each time the last has ended and the user asks for it.
import "@xterm/xterm/css/xterm.css";
import "./pagina.css";
import criaPrograma from "programa";
import { criaDesenho } from "./desenho.mjs";
import { criaLigacao } from "./ligacao.mjs";
import { criaPrevisao, ligaMemoria } from "./previsao.mjs";
import { abreTerminal } from "./terminal.mjs";

// The page's head began compiling the WebAssembly before this script was even read;
// it is instantiated while the terminal starts. What pagina.cpp calls (the
// terminal's reads and writes, the drawing's steps) is in `pagina` by then.
const pagina = {};
const carregando = criaPrograma({
  pagina,
  instantiateWasm(importacoes, recebe) {
    globalThis.programaCompilado
      .then((modulo) => WebAssembly.instantiate(modulo, importacoes))
      .then(recebe);
    return {};
  },
});

const aviso = document.getElementById("aviso");
const recomeca = document.getElementById("recomeca");
const DICA = "O passo espera: tecle Enter ou Espaço para seguir.";

const terminal = abreTerminal(document.getElementById("terminal"), () => {
  previsao.pula();
  desenho.pula();
});
terminal.terminal.focus();
const desenho = criaDesenho(document.getElementById("desenho"), {
  devolve: () => terminal.terminal.focus(),
  aoEsperar(esperando) {
    terminal.desvia(esperando ? teclaNaEspera : null);
    if (!esperando && aviso.textContent === DICA) {
      aviso.textContent = "";
    }
  },
});
const previsao = criaPrevisao(document.getElementById("desenho"), desenho, terminal);
// The drawing's steps through the questions of "Prever"; and the link, which watches
// the dialogue's reads and types its expressions at the prompt.
const ligacao = criaLigacao(terminal, desenho);
Object.assign(pagina, ligacao.vigia({ ...terminal, passo: previsao.passo }));

// While a step waits, Enter and Space go on; any other key only says so.
function teclaNaEspera(tecla) {
  if (tecla === "\r" || tecla === " ") {
    desenho.avanca();
  } else {
    aviso.textContent = DICA;
  }
}

recomeca.addEventListener("click", () => {
  terminal.tecleEnter();
  terminal.terminal.focus();
});

function mostraFim(terminou) {
  const como = "tecle Enter ou clique em Recomeçar para começar outro.";
  aviso.textContent = !terminou
    ? ""
    : terminal.interrompido()
      ? `Diálogo encerrado com Ctrl-C: ${como}`
      : `Fim do diálogo: ${como}`;
  recomeca.hidden = !terminou;
}

const programa = await carregando;
ligaMemoria(document.getElementById("memoria"), (nos) => programa._Limita_Memoria(nos));
for (;;) {
  mostraFim(false);
  await programa.ccall("Dialoga", "number", [], [], { async: true });
  mostraFim(true);
  await terminal.esperaEnter(() => {
    aviso.textContent =
      "O diálogo terminou. Para começar outro, tecle Enter ou clique em Recomeçar.";
  });
}
