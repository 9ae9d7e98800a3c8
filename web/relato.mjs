// The results told to the page that embeds this one, where no course's platform takes
// them: each time an exercise or a challenge of the link's list is settled, one
// message to the parent frame with the list's figures so far. It holds nothing
// personal, so any origin may receive it.
import { RESULTADOS, resultado } from "./resultados.mjs";

export const ORIGEM = "analisador-de-expressoes";

// `janela` is the page's window; alone in its tab, it tells no one.
export function criaRelato(licao, janela = window) {
  if (janela.parent === janela) {
    return;
  }
  const ditos = []; // each item's figures as last told
  licao.observa(() => {
    const { itens, acertos, perguntas } = resultado(licao);
    itens.forEach((item, qual) => {
      const figuras = `${item.perguntas} ${item.acertos}`;
      if (item.avaliado && ditos[qual] !== figuras) {
        ditos[qual] = figuras;
        const mensagem = { origem: ORIGEM, tipo: "resultado", exercicio: qual + 1 };
        janela.parent.postMessage({ ...mensagem, de: itens.length, acertos, perguntas }, "*");
      }
    });
  }, RESULTADOS);
}
