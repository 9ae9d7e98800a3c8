// The drawing beside the terminal: the two linked stacks of the evaluation, node by
// node, after every step the program reports, at the pace the student chooses; and,
// once an evaluation is over, its steps again, back and forth.

// The steps the program reports (analisar_exp_encad.hpp, TPASSO).
export const COMECOU = 0;
export const EMPILHOU = 1;
export const DESEMPILHOU = 2;
export const LIBEROU = 3;
export const PILHA_CHEIA = 1;
export const PILHA_VAZIA = 2;
export const DIVISAO_POR_ZERO = 3;

// How long the animated pace shows each step.
const MILISSEGUNDOS_POR_PASSO = 700;

const utf8 = new TextDecoder();

// What a value of a stack looks like: a number, or an operator's character.
function valorDa(pilha, valor) {
  return pilha === 2 ? String.fromCharCode(valor) : String(valor);
}

// The words for one step, given the steps of its evaluation up to it.
function descreve(passos, indice) {
  const passo = passos[indice];
  const onde =
    passo.lendo < passo.expressao.length
      ? `'${String.fromCharCode(passo.expressao[passo.lendo])}'`
      : "Fim da expressão";
  const valor = valorDa(passo.pilha, passo.valor);
  if (passo.acao === COMECOU) {
    return "As duas pilhas são criadas, vazias.";
  }
  if (passo.acao === EMPILHOU) {
    return descreveEmpilhou(passos, indice, onde, valor);
  }
  if (passo.acao === DESEMPILHOU) {
    return descreveDesempilhou(passos, indice, onde, valor);
  }
  return descreveLiberou(passos, indice);
}

function descreveEmpilhou(passos, indice, onde, valor) {
  const passo = passos[indice];
  if (passo.status === PILHA_CHEIA) {
    return `${onde}: não há memória para mais um nó. Pilha Cheia.`;
  }
  if (onde !== "')'") {
    return `${onde}: ${valor} é empilhado na pilha ${passo.pilha}.`;
  }
  const [direito, esquerdo, operador] = passos.slice(indice - 3, indice);
  return (
    `')': ${esquerdo.valor} ${valorDa(2, operador.valor)} ${direito.valor} = ${valor}, ` +
    "empilhado na pilha 1."
  );
}

function descreveDesempilhou(passos, indice, onde, valor) {
  const passo = passos[indice];
  if (passo.status === PILHA_VAZIA) {
    return `${onde}: a pilha ${passo.pilha} está vazia. Pilha Vazia.`;
  }
  if (passo.lendo === passo.expressao.length) {
    return `${onde}: a resposta, ${valor}, sai da pilha 1.`;
  }
  const papel = { 1: "o operando da direita", 2: "o operando da esquerda", 3: "o operador" };
  let ordem = 1; // the pops of one ')' come in this order
  const mesmoParentese = (anterior) =>
    anterior?.acao === DESEMPILHOU && anterior.lendo === passo.lendo;
  while (mesmoParentese(passos[indice - ordem])) {
    ordem++;
  }
  return `')': ${valor}, ${papel[ordem]}, sai da pilha ${passo.pilha}.`;
}

// The last step tells the outcome too, so that the drawing ends with it.
function descreveLiberou(passos, indice) {
  const passo = passos[indice];
  const antes = passos[indice - 1];
  const nos = (passo.pilha === 1 ? antes.operandos : antes.operadores).length;
  const liberada =
    `A pilha ${passo.pilha} é liberada` +
    (nos === 0 ? "." : `, com ${nos === 1 ? "o nó que sobrou" : `os ${nos} nós que sobraram`}.`);
  if (passo.pilha === 1) {
    return liberada;
  }
  const desfecho = {
    0: `Resposta: ${passos.findLast((anterior) => anterior.acao === DESEMPILHOU)?.valor}.`,
    [PILHA_CHEIA]: "ERRO: Pilha Cheia.",
    [PILHA_VAZIA]: "ERRO: Pilha Vazia.",
    [DIVISAO_POR_ZERO]: "ERRO: Divisao por 0.",
  }[passo.status];
  return `${liberada} ${desfecho}`;
}

// ---- Drawing ----

function elemento(tipo, classe, texto) {
  const novo = document.createElement(tipo);
  novo.className = classe;
  novo.textContent = texto ?? "";
  return novo;
}

// topo, an arrow to each node in turn, and null at the end of the chain.
function desenhaCadeia(cadeia, pilha, valores, novo) {
  const partes = [elemento("span", "topo", "topo")];
  valores.forEach((valor, posicao) => {
    partes.push(elemento("span", "seta", "↓"));
    const nodo = elemento("span", posicao === 0 && novo ? "nodo novo" : "nodo");
    nodo.append(elemento("span", "valor", valorDa(pilha, valor)), elemento("span", "prox", "prox"));
    partes.push(nodo);
  });
  partes.push(elemento("span", "seta", "↓"), elemento("span", "nulo", "null"));
  if (valores.length === 0) {
    partes.push(elemento("span", "vazia", "vazia"));
  }
  cadeia.replaceChildren(...partes);
  const lista = valores.map((valor) => valorDa(pilha, valor)).join(", ");
  cadeia.setAttribute("aria-label", valores.length ? `do topo para a base: ${lista}` : "vazia");
}

function desenhaExpressao(paragrafo, passo) {
  const lendo = passo.acao === COMECOU ? -1 : passo.lendo;
  const corte = (inicio, fim) => utf8.decode(passo.expressao.subarray(inicio, fim));
  const marcado = lendo >= 0 && lendo < passo.expressao.length;
  paragrafo.replaceChildren(
    corte(0, marcado ? lendo : undefined),
    ...(marcado ? [elemento("mark", "", corte(lendo, lendo + 1)), corte(lendo + 1)] : []),
  );
}

// ---- The drawing and its controls ----

// `devolve` gives the focus back to the terminal once a step-by-step evaluation is over.
export function criaDesenho(raiz, devolve) {
  const [expressao, descricao, contador] = ["expressao", "passo", "contador"].map((id) =>
    raiz.querySelector(`#${id}`),
  );
  const cadeias = [1, 2].map((pilha) => raiz.querySelector(`[data-pilha="${pilha}"] .cadeia`));
  const anterior = raiz.querySelector("#anterior");
  const proximo = raiz.querySelector("#proximo");
  let passos = [];
  let mostrado = -1;
  let continua = null; // lets the evaluation go on, in the step-by-step pace

  function mostra(indice) {
    mostrado = indice;
    const passo = passos[indice];
    desenhaExpressao(expressao, passo);
    descricao.textContent = descreve(passos, indice);
    const novo = passo.acao === EMPILHOU && passo.status === 0;
    desenhaCadeia(cadeias[0], 1, passo.operandos, novo && passo.pilha === 1);
    desenhaCadeia(cadeias[1], 2, passo.operadores, novo && passo.pilha === 2);
    contador.textContent = `Passo ${indice + 1} de ${passos.length}`;
    anterior.disabled = indice === 0;
    proximo.disabled = indice === passos.length - 1 && continua === null;
  }

  function volta() {
    if (mostrado > 0) {
      mostra(mostrado - 1);
    }
  }

  function avanca() {
    if (mostrado < passos.length - 1) {
      mostra(mostrado + 1);
    } else if (continua !== null) {
      continua();
    }
  }

  anterior.addEventListener("click", volta);
  proximo.addEventListener("click", avanca);
  raiz.addEventListener("keydown", (evento) => {
    const acao = {
      ArrowLeft: volta,
      ArrowRight: avanca,
      Home: () => passos.length && mostra(0),
      End: () => passos.length && mostra(passos.length - 1),
    }[evento.key];
    if (acao && evento.target.tagName !== "INPUT") {
      acao();
      evento.preventDefault();
    }
  });

  const ritmo = () => raiz.querySelector('input[name="ritmo"]:checked').value;

  return {
    // Marks the character a question is about, its step not yet drawn.
    marca(lendo) {
      desenhaExpressao(expressao, { expressao: passos.at(-1).expressao, lendo });
    },

    // A step the program reports: drawn at once, and then held as long as the pace
    // asks, while the program waits.
    async passo(passo) {
      if (passo.acao === COMECOU) {
        passos = [];
      }
      passos.push(passo);
      mostra(passos.length - 1);
      if (ritmo() === "animado" || ritmo() === "prever") {
        await new Promise((pronto) => setTimeout(pronto, MILISSEGUNDOS_POR_PASSO));
      } else if (ritmo() === "passo") {
        await new Promise((pronto) => {
          continua = pronto;
          mostra(mostrado);
          proximo.focus();
        });
        continua = null;
        if (passo.acao === LIBEROU && passo.pilha === 2) {
          devolve();
        }
      }
    },
  };
}
