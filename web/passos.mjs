// The lesson's one record and what a step means. The record holds the steps of the
// evaluation shown, the step shown, the pace and the page's other settings, Prever's
// question and tally, which line the dialogue waits for, and the results of a link's
// exercises and challenges; the views observe it and draw it. The meanings (what was
// read, which pop of a ')' a step is, the last step, a value as drawn and as the trace
// line prints it, the words for a step) are here once, for every view. No DOM, so
// that all of it runs under Node.js as well.
import { constantes, operadores } from "fonte";

// The steps, statuses and classes the program reports, as its headers define them.
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
  FECHA_PARENTESE,
} = constantes;

// ---- The record ----

export const MAIOR_MEMORIA = 20; // the most nodes "Memória" offers as a limit

// `muda` sets some of its fields and tells every observer which ones changed.
export function criaLicao() {
  const ouvintes = new Set();
  const licao = {
    passos: [], // the evaluation shown, or the refused line
    mostrado: -1, // the index of the step shown
    ritmo: "animado", // "imediato", "animado", "passo" or "prever"
    velocidade: 700, // ms a step, animated and in Prever
    memoria: 0, // how many nodes may be alive at once; 0, no limit
    codigo: true, // the code panel shown
    erros: new Map(), // each failure status and its name, as the program prints it
    leitura: null, // "expressao" or "resposta" while the dialogue waits for a line
    exercicios: [], // a link's lines, typed one at a time
    feitos: 0, // how many of them were typed
    digitado: -1, // which of them was just typed, its evaluation to come
    exercicio: -1, // which of them the evaluation shown is; -1, a line of the student's own
    placares: [], // each one's { perguntas, acertos, avaliado } (resultados.mjs)
    listaEmPrever: false, // the link's pace is Prever: its exercises' questions all count
    aprovacao: null, // the percentage the link asks for to pass, if any
    desafios: [], // a link's challenges (desafios.mjs)
    desafio: 0, // the index of the one shown
    cumpridos: [], // whether each was met
    tentativas: [], // how many lines each was judged on until it was met
    veredito: "", // what the last line did for the challenge shown
    segurando: false, // the program waits on the step shown for the pace
    pulando: false, // the rest of this evaluation goes on at once
    esperou: false, // this evaluation waited for the student
    pergunta: null, // Prever's question that waits: { tipo, lendo, enunciado }
    retorno: "", // what Prever said of the last answer
    acertos: 0, // right at the first try, of `respondidas`, this visit
    respondidas: 0,
    enganos: {}, // how often each mistake was named this visit, by its name
    // `ouvinte` is told of every change, or, given `chaves`, of a change to one of them.
    observa(ouvinte, chaves = null) {
      ouvintes.add(
        chaves ? (mudou) => chaves.some((chave) => mudou.has(chave)) && ouvinte(mudou) : ouvinte,
      );
    },
    muda(partes) {
      Object.assign(licao, partes);
      const mudou = new Set(Object.keys(partes));
      ouvintes.forEach((ouvinte) => ouvinte(mudou));
    },
  };
  return licao;
}

// A step the program reports joins its evaluation, which a new one replaces, and is
// shown.
export function acrescenta(licao, passo) {
  const nova = passo.acao === COMECOU || passo.acao === RECUSOU;
  const passos = nova ? [passo] : [...licao.passos, passo];
  licao.muda({ passos, mostrado: passos.length - 1 });
}

// The last step of an evaluation or of a refusal: nothing waits after it, and the
// dialogue writes the outcome next.
export const ultimo = (passo) =>
  passo.acao === RECUSOU || (passo.acao === LIBEROU && passo.pilha === 2);

export const emCurso = ({ passos }) => passos.length > 0 && !ultimo(passos.at(-1));

// A step holds the program until the student goes on.
export const esperando = (licao) => licao.segurando && licao.ritmo === "passo";

// ---- What a step means ----

// The character the step was made at; null before the scan and after it.
export function lido(passo) {
  const { acao, expressao, lendo } = passo;
  return acao === COMECOU || acao === RECUSOU || lendo >= expressao.length
    ? null
    : String.fromCharCode(expressao[lendo]);
}

const fimDaLinha = (passo) => passo.acao !== RECUSOU && passo.lendo >= passo.expressao.length;

// What the step is of a ')': its three pops in the order they come, then the push of
// the result; null for a step of another character.
const PAPEIS = ["direito", "esquerdo", "operador"];
export function papel(passos, indice) {
  const passo = passos[indice];
  if (passo.classe !== FECHA_PARENTESE || passo.acao === LIBEROU) {
    return null;
  }
  const mesmoPop = (outro) => outro?.acao === DESEMPILHOU && outro.lendo === passo.lendo;
  let antes = 0;
  while (mesmoPop(passos[indice - antes - 1])) {
    antes++;
  }
  return passo.acao === EMPILHOU ? "resultado" : PAPEIS[antes];
}
export const NOMES_DOS_PAPEIS = {
  direito: "o operando da direita",
  esquerdo: "o operando da esquerda",
  operador: "o operador",
};

// What the pops of a ')' took, up to the step: { direito, esquerdo, operador }, as
// far as they went.
export function tirados(passos, indice) {
  const valores = {};
  for (let onde = indice; passos[onde]?.lendo === passos[indice].lendo; onde--) {
    const { acao, status, valor } = passos[onde];
    if (acao === DESEMPILHOU && status === SUCESSO && papel(passos, onde)) {
      valores[papel(passos, onde)] = valor;
    }
  }
  return valores;
}

// A value as the drawing shows it: an operator's character on pilha 2, a number on
// pilha 1.
export const desenhado = (pilha, valor) =>
  pilha === 2 ? String.fromCharCode(valor) : String(valor);

// A value as the trace line prints it: any value equal to an operator's code as that
// character, whichever the stack.
export const noTraco = (valor) =>
  operadores.includes(valor) ? String.fromCharCode(valor) : String(valor);

// Beside a value of pilha 1 that the trace line prints as a character, the word that
// says so; "" for every other.
export const notaDoTraco = (pilha, valor) =>
  pilha === 1 && operadores.includes(valor) ? `no traço: ${noTraco(valor)}` : "";

// A stack's values as a text, top first, each with its note.
export function textoDaPilha(pilha, valores, separador = " ") {
  const um = (valor) => {
    const nota = notaDoTraco(pilha, valor);
    return nota ? `${valor} (${nota})` : desenhado(pilha, valor);
  };
  return valores.map(um).join(separador);
}

// The question of Prever a step begins: at a ')', its first step; at the end, the
// pop of the answer, or a push that fails on the way (a memory limit).
export function perguntaDe(passo) {
  if (passo.acao !== EMPILHOU && passo.acao !== DESEMPILHOU) {
    return null;
  }
  if (passo.classe === FECHA_PARENTESE) {
    return "parentese";
  }
  return fimDaLinha(passo) || passo.status !== SUCESSO ? "fim" : null;
}

// The answer of a whole evaluation: { valor } or { erro }; null while it goes on.
export function desfecho(passos) {
  const fim = passos.at(-1);
  if (!fim || fim.acao !== LIBEROU || !ultimo(fim)) {
    return null;
  }
  return fim.status === SUCESSO
    ? { valor: passos.findLast((passo) => passo.acao === DESEMPILHOU).valor }
    : { erro: fim.status };
}

// ---- The words for a step ----

// Why a line was refused, in words.
export const motivoDaRecusa = (passo) =>
  passo.valor === LONGA_DEMAIS
    ? `tem mais de ${MAX_EXPRESSAO} caracteres`
    : "não passa na regra dos parênteses, colchetes e operadores";

export function descreve(passos, indice) {
  const passo = passos[indice];
  if (passo.acao === COMECOU) {
    return "As duas pilhas são criadas, vazias.";
  }
  if (passo.acao === RECUSOU) {
    return `Linha recusada: ${motivoDaRecusa(passo)}. Nada é avaliado.`;
  }
  const onde = lido(passo) === null ? "Fim da expressão" : `'${lido(passo)}'`;
  if (passo.acao === EMPILHOU) {
    return descreveEmpilhou(passos, indice, onde);
  }
  if (passo.acao === DESEMPILHOU) {
    return descreveDesempilhou(passos, indice, onde);
  }
  return descreveLiberou(passos, indice);
}

function descreveEmpilhou(passos, indice, onde) {
  const passo = passos[indice];
  if (passo.status === PILHA_CHEIA) {
    return `${onde}: não há memória para mais um nó (${passo.mensagem}).`;
  }
  const valor = desenhado(passo.pilha, passo.valor);
  if (papel(passos, indice) !== "resultado") {
    return `${onde}: ${valor} é empilhado na pilha ${passo.pilha}.`;
  }
  const { direito, esquerdo, operador } = tirados(passos, indice);
  const conta = `${esquerdo} ${desenhado(2, operador)} ${direito}`;
  return `')': ${conta} = ${valor}, empilhado na pilha 1.`;
}

function descreveDesempilhou(passos, indice, onde) {
  const passo = passos[indice];
  if (passo.status === PILHA_VAZIA) {
    return `${onde}: a pilha ${passo.pilha} está vazia (${passo.mensagem}).`;
  }
  const valor = desenhado(passo.pilha, passo.valor);
  if (fimDaLinha(passo)) {
    return `${onde}: a resposta, ${valor}, sai da pilha 1.`;
  }
  const nome = NOMES_DOS_PAPEIS[papel(passos, indice)];
  return `')': ${valor}, ${nome}, sai da pilha ${passo.pilha}.`;
}

// The last step tells the outcome too, so that the drawing ends with it.
function descreveLiberou(passos, indice) {
  const passo = passos[indice];
  const antes = passos[indice - 1];
  const nos = (passo.pilha === 1 ? antes.operandos : antes.operadores).length;
  const sobra = nos === 1 ? "o nó que sobrou" : `os ${nos} nós que sobraram`;
  const liberada = `A pilha ${passo.pilha} é liberada${nos === 0 ? "." : `, com ${sobra}.`}`;
  if (!ultimo(passo)) {
    return liberada;
  }
  const { valor } = desfecho(passos);
  return `${liberada} ${valor !== undefined ? `A resposta é ${valor}.` : `${passo.mensagem}.`}`;
}
