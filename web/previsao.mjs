// The pace "Prever" as the student sees it: the question that waits, with a field for
// a number, Responder, Mostrar and a button for each failure, what was said of the
// last answer, the tally and the mistakes named. The questions and their answers are
// conducao.mjs's; this draws them from the lesson's record and hands the student's
// answers back.
import { constantes } from "fonte";
import { elemento } from "./dom.mjs";
import { lePalpite } from "./perguntas.mjs";

// In the order of their buttons: the failures of a ')' first.
const { PILHA_VAZIA, DIVISAO_POR_ZERO, PILHA_CHEIA } = constantes;
const ORDEM_DOS_ERROS = [PILHA_VAZIA, DIVISAO_POR_ZERO, PILHA_CHEIA];

// A button for each failure, named as the program names it.
function botoesDosErros(erros, nomes, responde) {
  const botao = (erro) => {
    const novo = elemento("button", "", [nomes.get(erro)]);
    novo.type = "button";
    novo.addEventListener("click", () => responde({ erro }));
    return novo;
  };
  erros.replaceChildren("ou o erro:", ...ORDEM_DOS_ERROS.map(botao));
}

// The form: a number typed and Responder, or Mostrar. Any whole number is taken,
// however large, and a fraction with a point or a comma: the mistakes say why.
function ligaFormulario(formulario, campo, licao, responde) {
  formulario.querySelector("#mostrar").addEventListener("click", () => responde(null));
  formulario.addEventListener("submit", (evento) => {
    evento.preventDefault();
    const palpite = lePalpite(campo.value);
    if (palpite) {
      responde(palpite);
    } else {
      licao.muda({ retorno: "Digite um número, como 12, -3 ou 2,5; ou escolha um erro." });
    }
  });
}

// "operandos trocados: 2; par errado: 1", the mistakes named this visit.
export const listaDeEnganos = (enganos) =>
  Object.entries(enganos)
    .map(([nome, vezes]) => `${nome}: ${vezes}`)
    .join("; ");

// `responde` takes { valor }, { erro } or null (show the answer).
export function criaPrevisao(raiz, licao, responde) {
  const [caixa, pergunta, formulario, campo, erros, retorno, placar, enganos] = [
    "#previsao",
    "#pergunta",
    "#resposta",
    "#palpite",
    "#erros",
    "#retorno",
    "#acertos",
    "#enganos",
  ].map((seletor) => raiz.querySelector(seletor));
  let foco = null; // where the focus was when the question came
  ligaFormulario(formulario, campo, licao, responde);

  // A question comes (the field takes the focus), is answered wrong once (its text
  // selected, to be typed again), or goes (the focus back where it was).
  function mostraPergunta(veio) {
    pergunta.textContent = licao.pergunta?.enunciado ?? "";
    retorno.textContent = licao.retorno;
    formulario.hidden = licao.pergunta === null;
    if (licao.pergunta && veio) {
      foco = document.activeElement;
      campo.value = "";
    }
    if (licao.pergunta) {
      campo.focus();
      campo.select();
    } else if (veio) {
      foco?.focus();
    }
  }

  licao.observa((mudou) => {
    if (mudou.has("erros")) {
      botoesDosErros(erros, licao.erros, responde);
    }
    if (mudou.has("ritmo")) {
      caixa.hidden = licao.ritmo !== "prever";
    }
    if (mudou.has("pergunta") || mudou.has("retorno")) {
      mostraPergunta(mudou.has("pergunta"));
    }
    if (mudou.has("respondidas")) {
      placar.textContent = `Acertos: ${licao.acertos} de ${licao.respondidas}`;
    }
    if (mudou.has("enganos")) {
      enganos.hidden = false;
      enganos.textContent = `Enganos vistos: ${listaDeEnganos(licao.enganos)}.`;
    }
  });
  caixa.hidden = licao.ritmo !== "prever";
}
