// The pace "Prever" as the student sees it: the question that waits, with a number
// field, Responder, Mostrar and a button for each failure, what was said of the last
// answer, and the tally. The questions and their answers are conducao.mjs's; this
// draws them from the lesson's record and hands the student's answers back.
import { constantes } from "fonte";
import { elemento } from "./dom.mjs";

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

// The form: a number typed and Responder, or Mostrar.
function ligaFormulario(formulario, campo, responde) {
  formulario.querySelector("#mostrar").addEventListener("click", () => responde(null));
  formulario.addEventListener("submit", (evento) => {
    evento.preventDefault();
    if (Number.isInteger(campo.valueAsNumber)) {
      responde({ valor: campo.valueAsNumber });
    }
  });
}

// `responde` takes { valor }, { erro } or null (show the answer).
export function criaPrevisao(raiz, licao, responde) {
  const [caixa, pergunta, formulario, campo, erros, retorno, placar] = [
    "#previsao",
    "#pergunta",
    "#resposta",
    "#palpite",
    "#erros",
    "#retorno",
    "#acertos",
  ].map((seletor) => raiz.querySelector(seletor));
  let foco = null; // where the focus was when the question came
  ligaFormulario(formulario, campo, responde);

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
  });
  caixa.hidden = licao.ritmo !== "prever";
}
