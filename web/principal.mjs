// Starts the course page: the lesson's record and the views that draw it, the
// terminal, and the program's dialogue through the seam, another one each time the
// last has ended and the user asks for it.
import "@xterm/xterm/css/xterm.css";
import "./pagina.css";
import { constantes } from "fonte";
import criaPrograma from "programa";
import { criaCodigo } from "./codigo.mjs";
import { criaConducao } from "./conducao.mjs";
import { criaControles } from "./controles.mjs";
import { criaDesafios } from "./desafios.mjs";
import { criaDesenho } from "./desenho.mjs";
import { criaLigacao } from "./ligacao.mjs";
import { criaLicao, esperando, ultimo } from "./passos.mjs";
import { ligaPrograma } from "./ponte.mjs";
import { criaPrevisao } from "./previsao.mjs";
import { criaRelato } from "./relato.mjs";
import { ligaResultados } from "./resultados.mjs";
import { criaResumo } from "./resumo.mjs";
import { criaScorm } from "./scorm.mjs";
import { criaTabela } from "./tabela.mjs";
import { abreTerminal } from "./terminal.mjs";

const { PILHA_CHEIA, PILHA_VAZIA, DIVISAO_POR_ZERO } = constantes;

const licao = criaLicao();
// The page's head compiled the WebAssembly; it is instantiated at once, so that the
// dialogue starts as soon as this script has run and its first screen is drawn in
// the next frames.
const carregando = ligaPrograma(
  criaPrograma,
  { leLinha, escreve: (bytes) => terminal.escreve(bytes), passo: (passo) => conducao.passo(passo) },
  {
    instantiateWasm(importacoes, recebe) {
      const instancia = new WebAssembly.Instance(globalThis.programaCompilado, importacoes);
      recebe(instancia);
      return instancia.exports;
    },
  },
);

const porId = (id) => document.getElementById(id);
const aviso = porId("aviso");
const recomeca = porId("recomeca");
const DICA = "O passo espera: tecle Enter ou Espaço para seguir.";

const terminal = abreTerminal(porId("terminal"), () => conducao.pula());
terminal.terminal.focus();
// The drawing is laid out once the first prompt has been drawn (pagina.css).
terminal.promptMostrado.then(() => document.body.classList.remove("arrancando"));
const conta = {}; // the program's arithmetic for Prever's hints, once it is loaded
const conducao = criaConducao(licao, terminal, conta);
const desenho = porId("desenho");
criaDesenho(desenho, licao);
criaControles(desenho, licao, conducao);
criaCodigo(porId("codigo"), licao);
criaTabela(porId("passos"), licao);
criaPrevisao(desenho, licao, conducao.responde);
ligaResultados(licao);
criaResumo(porId("resumo"), licao);
const teclado = { digita: terminal.digita, foca: () => terminal.terminal.focus() };
criaDesafios(licao, teclado);
criaLigacao(licao, teclado);
// The list's results go to a course's platform where one opened the page, or else to
// the page that embeds it, if any.
criaScorm(licao) || criaRelato(licao);

// Which line the dialogue waits for, in the record while it waits.
async function leLinha(prompt, historico, capacidade) {
  licao.muda({ leitura: historico ? "expressao" : "resposta" });
  try {
    return await terminal.leLinha(prompt, historico, capacidade);
  } finally {
    licao.muda({ leitura: null });
  }
}

// While a step waits, Enter and Space typed in the terminal go on; any other key only
// says so. Once an evaluation the student went through is over, the terminal has
// the focus again.
function teclaNaEspera(tecla) {
  if (tecla === "\r" || tecla === " ") {
    conducao.avanca();
  } else {
    aviso.textContent = DICA;
  }
}
licao.observa((mudou) => {
  if (mudou.has("segurando") || mudou.has("ritmo")) {
    terminal.desvia(esperando(licao) ? teclaNaEspera : null);
    if (!esperando(licao) && aviso.textContent === DICA) {
      aviso.textContent = "";
    }
  }
  const fim = mudou.has("passos") && ultimo(licao.passos.at(-1));
  if (fim && (licao.esperou || document.activeElement === document.body)) {
    terminal.terminal.focus();
  }
});

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
  Object.assign(conta, programa.conta);
  const nome = (status) => programa.mensagem(status).replace(/^ERRO: /, "");
  licao.muda({
    erros: new Map([PILHA_CHEIA, PILHA_VAZIA, DIVISAO_POR_ZERO].map((s) => [s, nome(s)])),
  });
  licao.observa((mudou) => mudou.has("memoria") && programa.limitaMemoria(licao.memoria));
  programa.limitaMemoria(licao.memoria);
  for (;;) {
    mostraFim(false);
    await programa.dialoga();
    mostraFim(true);
    await terminal.esperaEnter(() => {
      aviso.textContent =
        "O diálogo terminou. Para começar outro, tecle Enter ou clique em Recomeçar.";
    });
  }
}

dialoga();
