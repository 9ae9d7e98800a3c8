// The drawing beside the terminal: the two linked stacks of the step shown, node by
// node, the expression with the character read marked, and the step in words, in a
// live region. It draws the lesson's record whenever the step shown changes.
import { constantes } from "fonte";
import { elemento } from "./dom.mjs";
import { descreve, desenhado, notaDoTraco, textoDaPilha } from "./passos.mjs";
import "./impressao.css";

const { COMECOU, EMPILHOU, RECUSOU, SUCESSO } = constantes;

const utf8 = new TextDecoder();

// A node: its value, the trace line's form of it where that differs, and `prox`; the
// node just pushed says so in a word, not by its colour alone.
function desenhaNodo(pilha, valor, novo) {
  const nota = notaDoTraco(pilha, valor);
  const numero = elemento("span", "valor", [desenhado(pilha, valor)]);
  if (nota) {
    numero.append(elemento("span", "traco", [nota]));
  }
  const nodo = elemento("span", novo ? "nodo novo" : "nodo", [
    numero,
    elemento("span", "prox", ["prox"]),
  ]);
  if (novo) {
    nodo.append(elemento("span", "marca", ["novo"]));
  }
  return nodo;
}

// topo, an arrow to each node in turn, and null at the end of the chain.
function desenhaCadeia(cadeia, pilha, valores, novo) {
  const seta = () => elemento("span", "seta", ["↓"]);
  const partes = [elemento("span", "topo", ["topo"])];
  valores.forEach((valor, posicao) =>
    partes.push(seta(), desenhaNodo(pilha, valor, posicao === 0 && novo)),
  );
  partes.push(seta(), elemento("span", "nulo", ["null"]));
  if (valores.length === 0) {
    partes.push(elemento("span", "vazia", ["vazia"]));
  }
  cadeia.replaceChildren(...partes);
  const lista = textoDaPilha(pilha, valores, ", ");
  cadeia.setAttribute("aria-label", valores.length ? `do topo para a base: ${lista}` : "vazia");
}

// The line, with the character at `lendo` marked; none before or after the scan.
function desenhaExpressao(paragrafo, bytes, lendo) {
  const corte = (inicio, fim) => utf8.decode(bytes.subarray(inicio, fim));
  const marcado = lendo >= 0 && lendo < bytes.length;
  paragrafo.replaceChildren(
    corte(0, marcado ? lendo : undefined),
    ...(marcado ? [elemento("mark", "", [corte(lendo, lendo + 1)]), corte(lendo + 1)] : []),
  );
}

export function criaDesenho(raiz, licao) {
  const expressao = raiz.querySelector("#expressao");
  const descricao = raiz.querySelector("#passo");
  const cadeias = [1, 2].map((pilha) => raiz.querySelector(`[data-pilha="${pilha}"] .cadeia`));

  // The step shown; while Prever asks, the character its question is about is marked.
  function desenha() {
    const { passos, mostrado, pergunta } = licao;
    const passo = passos[mostrado];
    if (!passo) {
      return;
    }
    const lendo = pergunta?.lendo ?? (passo.acao === COMECOU ? -1 : passo.lendo);
    desenhaExpressao(expressao, passo.acao === RECUSOU ? new Uint8Array() : passo.expressao, lendo);
    descricao.textContent = descreve(passos, mostrado);
    const novo = passo.acao === EMPILHOU && passo.status === SUCESSO ? passo.pilha : 0;
    desenhaCadeia(cadeias[0], 1, passo.operandos, novo === 1);
    desenhaCadeia(cadeias[1], 2, passo.operadores, novo === 2);
  }

  licao.observa((mudou) => {
    if (mudou.has("mostrado") || mudou.has("pergunta")) {
      desenha();
    }
  });
}
