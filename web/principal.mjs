// Starts the course page: the terminal and the drawing, then the program's dialogue,
// and another one each time the last has ended and the user asks for it.
import "@xterm/xterm/css/xterm.css";
import "./pagina.css";
import criaPrograma from "programa";
import { criaDesenho } from "./desenho.mjs";
import { criaLigacao } from "./ligacao.mjs";
import { criaPrevisao, ligaMemoria } from "./previsao.mjs";
import { abreTerminal } from "./terminal.mjs";

// The page's head compiled the WebAssembly; it is instantiated at once, so that the
// dialogue starts as soon as this script has run and its first screen is drawn in
// the next frames. What pagina.cpp calls (the terminal's reads and writes, the
// drawing's steps) is in `pagina` by then.
const pagina = {};
const carregando = criaPrograma({
  pagina,
  instantiateWasm(importacoes, recebe) {
    const instancia = new WebAssembly.Instance(globalThis.programaCompilado, importacoes);
    recebe(instancia);
    return instancia.exports;
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
// The drawing is laid out once the first prompt has been drawn (pagina.css).
terminal.promptMostrado.then(() => document.body.classList.remove("arrancando"));
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

async function dialoga() {
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
}

dialoga();
