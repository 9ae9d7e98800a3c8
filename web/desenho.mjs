// The drawing beside the terminal: the two linked stacks of the evaluation, node by
// node, after every step the program reports, at the pace the student chooses; and,
// once an evaluation is over, its steps again, back and forth, by the buttons, the
// slider or the table of steps, with the code of each step beside it.
import { constantes } from "fonte";
import { criaCodigo } from "./codigo.mjs";
import { criaTabela } from "./tabela.mjs";
import "./impressao.css";

// The steps the program reports (analisar_exp_encad.hpp, TPASSO), as its headers
// define them.
const {
  COMECOU,
  EMPILHOU,
  DESEMPILHOU,
  LIBEROU,
  RECUSOU,
  LONGA_DEMAIS,
  MAX_EXPRESSAO,
  SUCESSO,
  PILHA_CHEIA,
  PILHA_VAZIA,
} = constantes;

const utf8 = new TextDecoder();

// What a value of a stack looks like: a number, or an operator's character.
function valorDa(pilha, valor) {
  return pilha === 2 ? String.fromCharCode(valor) : String(valor);
}

// The character the step was made at; null once the whole line is scanned.
function lido(passo) {
  return passo.lendo < passo.expressao.length
    ? String.fromCharCode(passo.expressao[passo.lendo])
    : null;
}

// A push at a ')' is the result of its operator.
const leuFechaParentese = (passo) => lido(passo) === ")";

// The words for one step, given the steps of its evaluation up to it.
function descreve(passos, indice) {
  const passo = passos[indice];
  const onde = lido(passo) === null ? "Fim da expressão" : `'${lido(passo)}'`;
  const valor = valorDa(passo.pilha, passo.valor);
  if (passo.acao === COMECOU) {
    return "As duas pilhas são criadas, vazias.";
  }
  if (passo.acao === RECUSOU) {
    return passo.valor === LONGA_DEMAIS
      ? `Linha recusada: tem mais de ${MAX_EXPRESSAO} caracteres. Nada é avaliado.`
      : "Linha recusada: não passa na regra dos parênteses, colchetes e operadores. " +
          "Nada é avaliado.";
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
    return `${onde}: não há memória para mais um nó (${passo.mensagem}).`;
  }
  if (!leuFechaParentese(passo)) {
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
    return `${onde}: a pilha ${passo.pilha} está vazia (${passo.mensagem}).`;
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
  const desfecho =
    passo.status === SUCESSO
      ? `A resposta é ${passos.findLast((anterior) => anterior.acao === DESEMPILHOU).valor}.`
      : `${passo.mensagem}.`;
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
    if (posicao === 0 && novo) {
      nodo.append(elemento("span", "marca", "novo")); // not by its colour alone
    }
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
  if (passo.acao === RECUSOU) {
    paragrafo.replaceChildren(); // a refused line is not read
    return;
  }
  const lendo = passo.acao === COMECOU ? -1 : passo.lendo;
  const corte = (inicio, fim) => utf8.decode(passo.expressao.subarray(inicio, fim));
  const marcado = lendo >= 0 && lendo < passo.expressao.length;
  paragrafo.replaceChildren(
    corte(0, marcado ? lendo : undefined),
    ...(marcado ? [elemento("mark", "", corte(lendo, lendo + 1)), corte(lendo + 1)] : []),
  );
}

// The row of the table for a step: the character and its place (from 1), the words,
// and both stacks, top first.
function linhaDaTabela(passos, indice) {
  const passo = passos[indice];
  const comeco = passo.acao === COMECOU || passo.acao === RECUSOU; // nothing read
  const texto = (pilha, valores) =>
    valores.map((valor) => valorDa(pilha, valor)).join(" ") || "vazia";
  return {
    lido: comeco ? "" : (lido(passo) ?? "fim"),
    posicao: comeco || lido(passo) === null ? "" : String(passo.lendo + 1),
    descricao: descreve(passos, indice),
    pilha1: texto(1, passo.operandos),
    pilha2: texto(2, passo.operadores),
  };
}

// ---- The drawing and its controls ----

// The last step of an evaluation, or of a refused line: nothing waits after it.
const ultimo = (passo) => passo.acao === RECUSOU || (passo.acao === LIBEROU && passo.pilha === 2);

// `devolve` gives the focus back to the terminal once an evaluation is over;
// `aoEsperar(true)` says that a step waits for the student, `aoEsperar(false)` that
// it no longer does.
export function criaDesenho(raiz, { devolve, aoEsperar }) {
  const [expressao, descricao, contador, velocidade, tempo] = [
    "expressao",
    "passo",
    "contador",
    "velocidade",
    "tempo",
  ].map((id) => raiz.querySelector(`#${id}`));
  const cadeias = [1, 2].map((pilha) => raiz.querySelector(`[data-pilha="${pilha}"] .cadeia`));
  const [anterior, proximo, pula] = ["anterior", "proximo", "pula"].map((id) =>
    raiz.querySelector(`#${id}`),
  );
  const deslizador = raiz.querySelector("#deslizador");
  const codigo = criaCodigo(raiz.querySelector("#codigo"), raiz.querySelector("#mostra-codigo"));
  const tabela = criaTabela(raiz.querySelector("#passos"), (indice) => mostra(indice));
  let passos = [];
  let mostrado = -1;
  let solta = null; // lets the evaluation go on, while a step is held
  let relogio = 0; // the animated pace's timer
  let pulando = false; // the rest of this evaluation at once
  let esperou = false; // whether this evaluation waited for the student

  const ritmo = () => raiz.querySelector('input[name="ritmo"]:checked').value;
  const emCurso = () => passos.length > 0 && !ultimo(passos.at(-1));

  function mostra(indice) {
    mostrado = indice;
    const passo = passos[indice];
    desenhaExpressao(expressao, passo);
    descricao.textContent = descreve(passos, indice);
    const novo = passo.acao === EMPILHOU && passo.status === SUCESSO;
    desenhaCadeia(cadeias[0], 1, passo.operandos, novo && passo.pilha === 1);
    desenhaCadeia(cadeias[1], 2, passo.operadores, novo && passo.pilha === 2);
    contador.textContent = `Passo ${indice + 1} de ${passos.length}`;
    atualizaBotoes();
    Object.assign(deslizador, { max: passos.length, value: indice + 1, disabled: false });
    deslizador.setAttribute("aria-valuetext", contador.textContent);
    codigo.marca(passo, passos[indice - 1]);
    tabela.marca(indice);
  }

  function atualizaBotoes() {
    anterior.disabled = mostrado <= 0;
    proximo.disabled = mostrado === passos.length - 1 && solta === null;
    pula.disabled = !emCurso() || pulando || ritmo() === "imediato";
  }

  // The pace, the speed or the skip, applied to the step held now.
  function aplicaRitmo() {
    clearTimeout(relogio);
    tempo.textContent = `${velocidade.value} ms`;
    if (solta !== null && (pulando || ritmo() === "imediato")) {
      solta();
    } else if (solta !== null && ["animado", "prever"].includes(ritmo())) {
      relogio = setTimeout(solta, Number(velocidade.value));
    }
    aoEsperar(solta !== null && ritmo() === "passo");
    atualizaBotoes();
  }

  // Holds the program on the step just drawn, as long as the pace asks.
  async function segura() {
    if (pulando || ritmo() === "imediato") {
      return;
    }
    await new Promise((pronto) => {
      solta = pronto;
      aplicaRitmo();
    });
    esperou ||= ritmo() === "passo";
    solta = null;
    clearTimeout(relogio);
    aoEsperar(false);
    atualizaBotoes(); // nothing waits on Próximo now, while a question may
  }

  function volta() {
    if (mostrado > 0) {
      mostra(mostrado - 1);
    }
  }

  function avanca() {
    if (mostrado < passos.length - 1) {
      mostra(mostrado + 1);
    } else if (solta !== null) {
      solta();
    }
  }

  function pulaParaOFim() {
    pulando = emCurso();
    aplicaRitmo();
  }

  anterior.addEventListener("click", volta);
  proximo.addEventListener("click", avanca);
  deslizador.addEventListener("input", () => mostra(deslizador.valueAsNumber - 1));
  raiz.querySelector("#imprimir").addEventListener("click", () => window.print());
  pula.addEventListener("click", pulaParaOFim);
  raiz.querySelector("#ritmo").addEventListener("change", aplicaRitmo);
  velocidade.addEventListener("input", aplicaRitmo);
  raiz.addEventListener("keydown", (evento) => teclaNoDesenho(evento));
  // A control that takes the focus is never left out of sight.
  raiz.addEventListener("focusin", (evento) => evento.target.scrollIntoView({ block: "nearest" }));

  // Enter and Space go on while a step waits, but where a control has its own use
  // for them; the arrows, Home and End go through the steps, but in an input, a list
  // or the table's box, which scrolls by them on a narrow window.
  function teclaNoDesenho(evento) {
    const { key, target } = evento;
    const entrada = ["INPUT", "SELECT"].includes(target.tagName) || target.matches(".tabela");
    const propria = target.tagName === "BUTTON" || (entrada && key === " ");
    const navega = {
      ArrowLeft: volta,
      ArrowRight: avanca,
      Home: () => passos.length && mostra(0),
      End: () => passos.length && mostra(passos.length - 1),
    }[key];
    if ((key === "Enter" || key === " ") && solta !== null && !propria) {
      solta();
    } else if (!navega || entrada) {
      return;
    } else {
      navega();
    }
    evento.preventDefault();
  }

  return {
    // Marks the character a question is about, its step not yet drawn.
    marca(lendo) {
      desenhaExpressao(expressao, { expressao: passos.at(-1).expressao, lendo });
    },

    // Shows a step of the latest evaluation, by its index, 0 the first.
    vaiPara(indice) {
      if (passos.length > 0) {
        mostra(Math.min(Math.max(indice, 0), passos.length - 1));
      }
    },

    // The index of the step shown (-1 before any) and how many there are so far.
    posicao: () => ({ mostrado, total: passos.length }),

    // A step the program reports: drawn at once, and then held as long as the pace
    // asks, while the program waits.
    async passo(passo) {
      if (passo.acao === COMECOU || passo.acao === RECUSOU) {
        passos = [];
        tabela.limpa();
        pulando = false;
        esperou = false;
      }
      passos.push(passo);
      tabela.acrescenta(linhaDaTabela(passos, passos.length - 1));
      mostra(passos.length - 1);
      if (!ultimo(passo)) {
        await segura();
      } else if (esperou || document.activeElement === document.body) {
        devolve();
      }
    },

    // Lets a held step go on (Enter or Space typed in the terminal).
    avanca: () => solta?.(),

    // Finishes the evaluation in course at once.
    pula: pulaParaOFim,
  };
}
