// Challenges a teacher's link sets (desafio=...): the student builds an expression
// that meets a goal, an answer, a height of pilha 1 or a failure, and each line typed
// is judged by the program's own steps and outcome, never by evaluating it here. The
// goal is stated above the terminal, with "Desafio k de n", "Próximo desafio" and the
// tally of those met.
import { constantes } from "fonte";
import { MAIOR_MEMORIA, desfecho, motivoDaRecusa, ultimo } from "./passos.mjs";

const { RECUSOU, PILHA_CHEIA, PILHA_VAZIA, DIVISAO_POR_ZERO } = constantes;

const ERROS = { vazia: PILHA_VAZIA, zero: DIVISAO_POR_ZERO, cheia: PILHA_CHEIA };
const MAIOR_ALTURA = 25;
const nos = (quantos) => `${quantos} ${quantos === 1 ? "nó" : "nós"}`;

// ---- A goal, as a link writes it and as the student reads it ----

// `resposta:N`, `altura:K` or `erro:vazia|zero|cheia`, `erro:cheia:M` with a memory
// limit of its own: { texto, resposta } | { texto, altura } | { texto, erro, memoria };
// null for anything else.
export function leDesafio(texto) {
  const [tipo, valor, limite, ...resto] = texto.split(":");
  const inteiro = (parte) => (/^-?\d{1,10}$/.test(parte ?? "") ? Number(parte) : NaN);
  const entre = (numero, menor, maior) => numero >= menor && numero <= maior;
  if (resto.length > 0 || (limite !== undefined && !(tipo === "erro" && valor === "cheia"))) {
    return null;
  }
  if (tipo === "resposta" && entre(inteiro(valor), -(2 ** 31), 2 ** 31 - 1)) {
    return { texto, resposta: inteiro(valor) };
  }
  if (tipo === "altura" && entre(inteiro(valor), 1, MAIOR_ALTURA)) {
    return { texto, altura: inteiro(valor) };
  }
  const memoria = limite === undefined ? 0 : inteiro(limite);
  if (
    tipo === "erro" &&
    Object.hasOwn(ERROS, valor) &&
    (limite === undefined || entre(memoria, 1, MAIOR_MEMORIA))
  ) {
    return { texto, erro: ERROS[valor], memoria };
  }
  return null;
}

// The goal in words; `erros` names the failures as the program does.
export function objetivo(desafio, erros) {
  if (desafio.resposta !== undefined) {
    return `Digite uma expressão que responda ${desafio.resposta}.`;
  }
  if (desafio.altura !== undefined) {
    return `Digite uma expressão em que a pilha 1 chegue a ${nos(desafio.altura)} ou mais.`;
  }
  const memoria = desafio.memoria ? `, com a memória limitada a ${nos(desafio.memoria)}` : "";
  return `Digite uma expressão cuja avaliação termine em ${erros.get(desafio.erro)}${memoria}.`;
}

// ---- A line judged ----

// Whether the evaluation (or the refusal) in `passos` meets the goal, and the words
// for it: what the line did, where it did not.
export function julgaDesafio(desafio, passos, erros) {
  const [primeiro] = passos;
  if (primeiro.acao === RECUSOU) {
    return {
      cumprido: false,
      texto: `Ainda não: a linha foi recusada (${motivoDaRecusa(primeiro)}).`,
    };
  }
  const { valor, erro } = desfecho(passos);
  const terminou = erro === undefined ? `respondeu ${valor}` : `terminou em ${erros.get(erro)}`;
  if (desafio.altura !== undefined) {
    const altura = Math.max(...passos.map((passo) => passo.operandos.length));
    const cumprido = altura >= desafio.altura;
    const fez = `a pilha 1 chegou a ${nos(altura)}`;
    return { cumprido, texto: cumprido ? `Desafio cumprido: ${fez}.` : `Ainda não: ${fez}.` };
  }
  const cumprido =
    desafio.erro === undefined
      ? erro === undefined && valor === desafio.resposta
      : erro === desafio.erro;
  return {
    cumprido,
    texto: cumprido
      ? `Desafio cumprido: a avaliação ${terminou}.`
      : `Ainda não: esta linha ${terminou}.`,
  };
}

// ---- On the page ----

// The challenge shown: its goal and its memory limit, kept while it is current; the
// limit the student had comes back after it.
function mostraDesafio(licao, elementos, antes) {
  const { desafios, desafio, cumpridos } = licao;
  const atual = desafios[desafio];
  elementos.caixa.hidden = desafios.length === 0;
  if (!atual) {
    return;
  }
  const ordem =
    desafios.length > 1 ? `Desafio ${desafio + 1} de ${desafios.length}: ` : "Desafio: ";
  elementos.objetivo.textContent = ordem + objetivo(atual, licao.erros);
  elementos.proximo.hidden = desafios.length < 2;
  elementos.proximo.disabled = desafio >= desafios.length - 1;
  elementos.placar.textContent = `Desafios cumpridos: ${cumpridos.filter(Boolean).length} de ${desafios.length}`;
  if (atual.memoria && licao.memoria !== atual.memoria) {
    antes.memoria ??= licao.memoria;
    licao.muda({ memoria: atual.memoria });
  } else if (!atual.memoria && antes.memoria !== undefined) {
    licao.muda({ memoria: antes.memoria });
    antes.memoria = undefined;
  }
}

// `digita` types at the terminal, `foca` gives it the focus.
export function criaDesafios(licao, { digita, foca }) {
  const porId = (id) => document.getElementById(id);
  const elementos = {
    caixa: porId("desafios"),
    objetivo: porId("objetivo"),
    proximo: porId("proximo-desafio"),
    placar: porId("cumpridos"),
    veredito: porId("veredito"),
  };
  const antes = {}; // the memory limit before a challenge set its own
  elementos.proximo.addEventListener("click", () => {
    licao.muda({ desafio: licao.desafio + 1, veredito: "" });
    if (licao.leitura === "resposta") {
      digita("s\n");
    }
    foca();
  });
  licao.observa((mudou) => {
    const { desafios, desafio, passos } = licao;
    // Only the student's own lines are tries: a list's exercise typed by the link is not.
    const propria = licao.exercicio < 0;
    if (mudou.has("passos") && desafios.length > 0 && propria && ultimo(passos.at(-1))) {
      const { cumprido, texto } = julgaDesafio(desafios[desafio], passos, licao.erros);
      const cumpridos = licao.cumpridos.map(
        (antes, qual) => antes || (cumprido && qual === desafio),
      );
      // The lines it took, up to the one that met it.
      const tentativas = licao.tentativas.map(
        (vezes, qual) => vezes + (qual === desafio && !licao.cumpridos[qual] ? 1 : 0),
      );
      licao.muda({ veredito: texto, cumpridos, tentativas });
    }
    if (mudou.has("veredito")) {
      elementos.veredito.textContent = licao.veredito;
    }
  });
  licao.observa(
    () => mostraDesafio(licao, elementos, antes),
    ["desafios", "desafio", "cumpridos", "erros"],
  );
}
