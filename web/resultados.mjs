// The results of a link's list, read from the lesson's record: which exercise an
// evaluation is, each exercise's questions asked and right at the first try, each
// challenge's tries; the list's score and whether it is over; where the student
// stands, for a later visit to take back; a visit's time as SCORM writes it. No DOM:
// the course's platform (scorm.mjs), the page that embeds this one (relato.mjs) and
// the summary (resumo.mjs) observe the record and read it through here.
import { ultimo } from "./passos.mjs";
import { contaPerguntas } from "./perguntas.mjs";

// The record's fields a list's results are made of: who reports them observes these.
export const RESULTADOS = ["placares", "tentativas", "cumpridos", "desafio"];

export const MAIOR_RETOMADA = 4096; // the most characters SCORM 1.2's cmi.suspend_data holds

const NOVO = { perguntas: 0, acertos: 0, avaliado: false };
export const placaresDe = (exercicios) => exercicios.map(() => ({ ...NOVO }));

const troca = (lista, indice, novo) => lista.map((velho, qual) => (qual === indice ? novo : velho));
const soma = (itens, campo) => itens.reduce((total, item) => total + item[campo], 0);

// A question of Prever settled, answered or shown, in one of the list's exercises:
// shown counts as asked, so that Mostrar never raises a score. `certa`: right at the
// first try.
export function anotaPergunta({ exercicio, placares }, certa) {
  const placar = placares[exercicio];
  if (!placar) {
    return {};
  }
  const { perguntas, acertos } = placar;
  const novo = { ...placar, perguntas: perguntas + 1, acertos: acertos + (certa ? 1 : 0) };
  return { placares: troca(placares, exercicio, novo) };
}

// An exercise's evaluation over. In a list the link sets in Prever, its questions that
// were never asked (skipped to the end, or another pace chosen) count as asked and not
// right, so that no way round a question raises the score.
export function fechaExercicio({ exercicio, placares, passos, listaEmPrever }) {
  const placar = placares[exercicio];
  if (!placar || placar.avaliado) {
    return null;
  }
  const todas = listaEmPrever ? contaPerguntas(passos) : 0;
  const novo = { ...placar, perguntas: Math.max(placar.perguntas, todas), avaliado: true };
  return { placares: troca(placares, exercicio, novo) };
}

// An evaluation is the list's exercise just typed (`digitado`), or a line of the
// student's own; at its end, that exercise is evaluated.
export function ligaResultados(licao) {
  licao.observa((mudou) => {
    if (!mudou.has("passos") || licao.passos.length === 0) {
      return;
    }
    if (licao.passos.length === 1) {
      licao.muda({ exercicio: licao.digitado, digitado: -1 });
    }
    const fim = ultimo(licao.passos.at(-1)) && fechaExercicio(licao);
    fim && licao.muda(fim);
  });
}

// The list as the course grades it: its exercises, then its challenges, each with the
// questions asked and right at the first try (a challenge is one question, asked once
// it is tried or passed over), whether it is settled; the sums, the rounded score
// (null before any question), and the lesson's status in SCORM 1.2's words.
export function resultado(licao) {
  const { exercicios, placares, desafios, desafio, tentativas, cumpridos, aprovacao } = licao;
  const itens = [
    ...placares.map((placar, qual) => ({ exercicio: exercicios[qual], ...placar })),
    ...desafios.map((um, qual) => {
      const avaliado = tentativas[qual] > 0 || qual < desafio;
      const primeira = cumpridos[qual] && tentativas[qual] === 1;
      const tentou = { tentativas: tentativas[qual], cumprido: cumpridos[qual] };
      return { desafio: um, ...tentou, perguntas: +avaliado, acertos: +primeira, avaliado };
    }),
  ];
  const [perguntas, acertos] = [soma(itens, "perguntas"), soma(itens, "acertos")];
  const nota = perguntas > 0 ? Math.round((100 * acertos) / perguntas) : null;
  const concluida = itens.every((item) => item.avaliado);
  const julgada = aprovacao !== null && nota !== null;
  const aprovado = julgada ? (nota >= aprovacao ? "passed" : "failed") : "completed";
  return {
    itens,
    perguntas,
    acertos,
    nota,
    concluida,
    status: concluida ? aprovado : "incomplete",
  };
}

// ---- Where the student stands ----

// How far the list has gone: the exercises evaluated and the challenges' state. It
// changes at an evaluation's end or a challenge's, never between two questions.
export function posicao({ placares, desafio, tentativas, cumpridos }) {
  const avaliados = placares.findIndex((placar) => !placar.avaliado);
  return JSON.stringify([
    avaliados < 0 ? placares.length : avaliados,
    desafio,
    tentativas,
    cumpridos,
  ]);
}

// For cmi.suspend_data: the evaluated exercises' [asked, right], the challenge shown,
// each one's tries and whether it was met, the page's tally and the mistakes named;
// the mistakes left out if it would not fit, null if it still does not.
export function codificaRetomada(licao) {
  const { placares, desafio, tentativas, cumpridos, acertos, respondidas, enganos } = licao;
  const [avaliados] = JSON.parse(posicao(licao));
  const x = placares.slice(0, avaliados).map((placar) => [placar.perguntas, placar.acertos]);
  const dados = { v: 1, x, d: desafio, t: tentativas, c: cumpridos.map(Number) };
  const tudo = { ...dados, a: acertos, r: respondidas, g: enganos };
  const textos = [tudo, { ...tudo, g: {} }].map((um) => JSON.stringify(um));
  return textos.find((texto) => texto.length <= MAIOR_RETOMADA) ?? null;
}

const natural = (numero) => Number.isSafeInteger(numero) && numero >= 0;
const lista = (valor, tamanho, cada) =>
  Array.isArray(valor) && valor.length === tamanho && valor.every(cada);

// What codificaRetomada wrote, as the record takes it back for this list: the next
// exercise the first of those not evaluated. Null for anything else, another list's
// among it.
export function leRetomada(texto, { exercicios, desafios }) {
  let d;
  try {
    d = JSON.parse(texto);
  } catch {
    return null;
  }
  const par = (p) => lista(p, 2, natural) && p[1] <= p[0];
  const valida =
    d?.v === 1 &&
    Array.isArray(d.x) &&
    d.x.length <= exercicios.length &&
    d.x.every(par) &&
    lista(d.t, desafios.length, natural) &&
    lista(d.c, desafios.length, (c) => c === 0 || c === 1) &&
    natural(d.d) &&
    d.d < Math.max(desafios.length, 1) &&
    [d.a, d.r].every(natural) &&
    d.a <= d.r &&
    d.g?.constructor === Object &&
    Object.values(d.g).every(natural);
  if (!valida) {
    return null;
  }
  const placares = exercicios.map((_, qual) =>
    qual < d.x.length
      ? { perguntas: d.x[qual][0], acertos: d.x[qual][1], avaliado: true }
      : { ...NOVO },
  );
  const { d: desafio, t: tentativas, a: acertos, r: respondidas, g: enganos } = d;
  const cumpridos = d.c.map(Boolean);
  return {
    feitos: d.x.length,
    placares,
    desafio,
    tentativas,
    cumpridos,
    acertos,
    respondidas,
    enganos,
  };
}

// A visit's time as SCORM 1.2 writes it, HHHH:MM:SS.SS, to the hundredth.
export function tempoScorm(milissegundos) {
  const centesimos = Math.min(Math.round(milissegundos / 10), 10000 * 360000 - 1);
  const [horas, minutos, segundos, resto] = [
    Math.floor(centesimos / 360000),
    Math.floor(centesimos / 6000) % 60,
    Math.floor(centesimos / 100) % 60,
    centesimos % 100,
  ].map((numero, qual) => String(numero).padStart(qual === 0 ? 4 : 2, "0"));
  return `${horas}:${minutos}:${segundos}.${resto}`;
}
