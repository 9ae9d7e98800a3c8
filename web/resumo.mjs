// The summary at a list's end: each exercise and challenge, whether it was right at the
// first try, the list's tally against the pass mark, and the mistakes named; the
// student prints it alone or copies it as text. Drawn from the record (resultados.mjs),
// as text only.
import { objetivo } from "./desafios.mjs";
import { elemento } from "./dom.mjs";
import { listaDeEnganos } from "./previsao.mjs";
import { RESULTADOS, resultado } from "./resultados.mjs";

const vezes = (quantas, uma, varias) => `${quantas} ${quantas === 1 ? uma : varias}`;

// An exercise: its questions right at the first try; without questions, only done.
function exercicio({ perguntas, acertos }) {
  if (perguntas === 0) {
    return "feito, sem perguntas";
  }
  const de = `${acertos} de ${vezes(perguntas, "pergunta", "perguntas")}`;
  return `${acertos === perguntas ? "sim" : "não"}: ${de}`;
}

// A challenge: met at the first line, at a later one, not met, or passed over.
function desafio({ tentativas, cumprido }) {
  if (cumprido) {
    return tentativas === 1 ? "sim" : `não: cumprido na ${tentativas}ª tentativa`;
  }
  return tentativas > 0 ? `não: ${vezes(tentativas, "tentativa", "tentativas")}` : "não: pulado";
}

// The summary's rows, [what, how], and its closing lines.
export function linhasDoResumo(licao) {
  const { itens, acertos, perguntas, nota } = resultado(licao);
  let [exercicios, desafios] = [0, 0];
  const linhas = itens.map((item) =>
    item.desafio
      ? [`Desafio ${++desafios}: ${objetivo(item.desafio, licao.erros)}`, desafio(item)]
      : [`Exercício ${++exercicios}: ${item.exercicio}`, exercicio(item)],
  );
  const marca = licao.aprovacao;
  const aprovado = nota >= marca ? "aprovado" : "não aprovado";
  const julgado = marca === null || nota === null ? "" : ` Aprovação com ${marca}%: ${aprovado}.`;
  const placar = nota === null ? "" : `${acertos} de ${perguntas} (${nota}%).`;
  const enganos = listaDeEnganos(licao.enganos);
  const finais = [
    placar && `Certas na primeira tentativa: ${placar}${julgado}`,
    enganos ? `Enganos vistos: ${enganos}.` : "Nenhum engano visto.",
  ];
  return { linhas, finais: finais.filter(Boolean) };
}

// To the clipboard, or selected where the browser refuses, for Ctrl-C.
async function copia(raiz, licao, dito) {
  const { linhas, finais } = linhasDoResumo(licao);
  const texto = ["Resumo da lista", ...linhas.map((linha) => linha.join(": ")), ...finais];
  try {
    await navigator.clipboard.writeText(texto.join("\n"));
    dito.textContent = "Resumo copiado.";
  } catch {
    getSelection().selectAllChildren(raiz.querySelector(".conteudo"));
    dito.textContent = "Resumo selecionado: copie com Ctrl-C.";
  }
}

function desenha(raiz, licao) {
  const { linhas, finais } = linhasDoResumo(licao);
  const celulas = ([o, como]) => [elemento("th", "", [o]), elemento("td", "", [como])];
  raiz.querySelector("tbody").replaceChildren(
    ...linhas.map((linha) => {
      const fila = elemento("tr", "", celulas(linha));
      fila.firstChild.scope = "row";
      return fila;
    }),
  );
  raiz
    .querySelector(".finais")
    .replaceChildren(...finais.map((texto) => elemento("p", "", [texto])));
}

// Shown when a list of more than one line ends, and kept up to date after.
export function criaResumo(raiz, licao) {
  const dito = raiz.querySelector("[role=status]");
  raiz.querySelector(".imprime").addEventListener("click", () => {
    document.documentElement.classList.add("so-resumo");
    addEventListener("afterprint", () => document.documentElement.classList.remove("so-resumo"), {
      once: true,
    });
    print();
  });
  raiz.querySelector(".copia").addEventListener("click", () => copia(raiz, licao, dito));
  licao.observa(() => {
    const lista = licao.exercicios.length > 1 || licao.desafios.length > 0;
    if (!lista || !resultado(licao).concluida) {
      return;
    }
    desenha(raiz, licao);
    if (raiz.hidden) {
      raiz.hidden = false;
      raiz.scrollIntoView({ block: "nearest" });
    }
  }, [...RESULTADOS, "erros", "enganos"]);
}
