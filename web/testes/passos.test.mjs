// The page's scripts without a browser, on the steps of the program's own Node.js
// build: what a step means and says, the pace holding the program, Prever's
// questions and answers, and a link read. Run by ctest (PROGRAMA names the build).
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import path from "node:path";
import { test } from "node:test";
import { constantes } from "fonte";
import { criaConducao } from "../conducao.mjs";
import { julgaDesafio, leDesafio } from "../desafios.mjs";
import { leLink } from "../ligacao.mjs";
import { lePalpite } from "../perguntas.mjs";
import { criaLicao, descreve, noTraco, textoDaPilha } from "../passos.mjs";
import { ligaPrograma } from "../ponte.mjs";
import * as resultados from "../resultados.mjs";

const { placaresDe, ligaResultados, resultado, codificaRetomada, leRetomada } = resultados;
const { tempoScorm, MAIOR_RETOMADA } = resultados;
const { EMPILHOU, DIGITO, OPERADOR, PILHA_CHEIA, PILHA_VAZIA, DIVISAO_POR_ZERO } = constantes;

// The program with a page of lines given in advance; each step goes to `aoPasso`.
let fila = [];
let saida = "";
let aoPasso = async () => {};
const programa = await ligaPrograma(
  createRequire(import.meta.url)(path.resolve(process.env.PROGRAMA)),
  {
    leLinha: async (prompt, historico, capacidade) => {
      const parte = fila[0]?.subarray(0, capacidade) ?? null;
      fila[0] = fila[0]?.subarray(capacidade);
      if (fila[0]?.length === 0) {
        fila.shift();
      }
      return parte;
    },
    escreve: (bytes) => (saida += new TextDecoder().decode(bytes)),
    passo: (passo) => aoPasso(passo),
  },
);
const nomes = new Map(
  [PILHA_CHEIA, PILHA_VAZIA, DIVISAO_POR_ZERO].map((s) => [s, programa.mensagem(s).slice(6)]),
);

// One line evaluated in a dialogue of its own; `memoria` limits the nodes.
async function avalia(linha, { passo, memoria = 0 } = {}) {
  const passos = [];
  aoPasso = passo ?? (async (novo) => passos.push(novo));
  fila = [linha + "\n", "n\n"].map((texto) => new TextEncoder().encode(texto));
  saida = "";
  programa.limitaMemoria(memoria);
  await programa.dialoga();
  return { passos, saida };
}

// Each case: a line, the memory limit, from which step, and the words from there.
// prettier-ignore
const DESCRICOES = [
  ["((1+2)*3)", 0, 0, [
    "As duas pilhas são criadas, vazias.",
    "'1': 1 é empilhado na pilha 1.",
    "'+': + é empilhado na pilha 2.",
    "'2': 2 é empilhado na pilha 1.",
    "')': 2, o operando da direita, sai da pilha 1.",
    "')': 1, o operando da esquerda, sai da pilha 1.",
    "')': +, o operador, sai da pilha 2.",
    "')': 1 + 2 = 3, empilhado na pilha 1.",
    "'*': * é empilhado na pilha 2.",
    "'3': 3 é empilhado na pilha 1.",
    "')': 3, o operando da direita, sai da pilha 1.",
    "')': 3, o operando da esquerda, sai da pilha 1.",
    "')': *, o operador, sai da pilha 2.",
    "')': 3 * 3 = 9, empilhado na pilha 1.",
    "Fim da expressão: a resposta, 9, sai da pilha 1.",
    "A pilha 1 é liberada.",
    "A pilha 2 é liberada. A resposta é 9."]],
  ["(12+3)", 0, -3, [
    "Fim da expressão: a resposta, 5, sai da pilha 1.",
    "A pilha 1 é liberada, com o nó que sobrou.",
    "A pilha 2 é liberada. A resposta é 5."]],
  ["((8/0)+1)", 0, -2, ["A pilha 1 é liberada.", "A pilha 2 é liberada. ERRO: Divisao por 0."]],
  [")1+2(", 0, 1, ["')': a pilha 1 está vazia (ERRO: Pilha Vazia)."]],
  ["(a+b)", 0, -3, ["')': a pilha 1 está vazia (ERRO: Pilha Vazia)."]],
  ["((1+2)", 0, 0, ["Linha recusada: não passa na regra dos parênteses, colchetes e operadores. " +
    "Nada é avaliado."]],
  ["1".repeat(51), 0, 0, ["Linha recusada: tem mais de 50 caracteres. Nada é avaliado."]],
  ["((1+2)*3)", 2, -3, [
    "'2': não há memória para mais um nó (ERRO: Pilha Cheia).",
    "A pilha 1 é liberada, com o nó que sobrou.",
    "A pilha 2 é liberada, com o nó que sobrou. ERRO: Pilha Cheia."]],
];

test("each step is told in the words the student reads", async () => {
  for (const [linha, memoria, desde, esperadas] of DESCRICOES) {
    const { passos } = await avalia(linha, { memoria });
    const ditas = passos.map((_, indice) => descreve(passos, indice));
    assert.deepEqual(ditas.slice(desde).slice(0, esperadas.length), esperadas, linha);
  }
});

// The trace line prints a value equal to an operator's code as that character; the
// drawing and the table show the value, with a word of why the terminal differs.
test("stacks drawn as the trace lines print them, a value the trace shows otherwise noted", async () => {
  for (const linha of ["((6*7)+1)", "(((5*9)+(2-5))*(9-8))", "((1+2)*3)", "((9*5)/(2+1))"]) {
    const { passos, saida } = await avalia(linha);
    const tracados = passos.filter(
      (passo) => passo.acao === EMPILHOU && [DIGITO, OPERADOR].includes(passo.classe),
    );
    const esperadas = tracados.map(({ pilha, operandos, operadores }) => {
      const valores = pilha === 1 ? operandos : operadores;
      return `Pilha ${pilha}: ${valores.map(noTraco).join("") || "vazia"}`;
    });
    assert.deepEqual(saida.match(/^Pilha .*$/gm), esperadas, linha);
  }
  const { passos } = await avalia("((6*7)+1)");
  assert.equal(textoDaPilha(1, passos[9].operandos), "1 42 (no traço: *)");
  assert.equal(textoDaPilha(2, passos[9].operadores), "+");
});

// The pace, as a student sets it; `avanca` is the student going on.
function conduz(licao, aoEsperar = () => {}) {
  const conducao = criaConducao(licao, { retem() {}, solta() {} }, programa.conta);
  licao.observa((mudou) => mudou.has("segurando") && licao.segurando && aoEsperar(conducao));
  return conducao;
}

test("the pace holds the program on every step but the last, until the student goes on", async () => {
  const casos = [
    // pace, steps of ((1+2)*3) the program was held on, and the student's skip
    ["passo", 16, false],
    ["imediato", 0, false],
    ["passo", 3, true],
  ];
  for (const [ritmo, seguras, pula] of casos) {
    const licao = criaLicao();
    licao.muda({ ritmo });
    let vezes = 0;
    const conducao = conduz(licao, (c) => {
      vezes++;
      setTimeout(pula && vezes === 3 ? c.pula : c.avanca);
    });
    await avalia("((1+2)*3)", { passo: conducao.passo });
    assert.deepEqual([vezes, licao.passos.length, licao.segurando], [seguras, 17, false], ritmo);
    assert.equal(licao.esperou, ritmo === "passo");
  }
});

// One line in Prever, each question answered in turn by the guesses of `respostas`
// (a number's text, a failure's status, or null for Mostrar; Mostrar when none are
// left); what was said to each guess, and the record.
async function preve(linha, respostas, memoria) {
  const licao = criaLicao();
  licao.muda({ ritmo: "prever", velocidade: 0, erros: nomes });
  const conducao = conduz(licao);
  const retornos = [];
  let pergunta = 0;
  licao.observa((mudou) => {
    if (mudou.has("retorno") && licao.retorno) {
      retornos.push(licao.retorno);
    }
    if (mudou.has("pergunta") && licao.pergunta !== null) {
      // Nothing of the answer is drawn before it is given.
      assert.notEqual(licao.passos.at(-1).lendo, licao.pergunta.lendo, licao.pergunta.enunciado);
      const vez = respostas[pergunta++] ?? [null];
      const palpite = (p) =>
        p === null || typeof p === "number" ? p && { erro: p } : lePalpite(p);
      setTimeout(() => vez.map(palpite).forEach(conducao.responde));
    }
  });
  await avalia(linha, { passo: conducao.passo, memoria });
  return { retornos, licao, perguntas: pergunta };
}

// The answers to each question, the first words said to one, and the tally.
test("Prever asks before each result, judges, hints, and keeps the tally", async () => {
  const casos = [
    ["((1+2)*(3+4))", [["5", "3"], ["7"], ["21"], ["21"]], "Não é 5. O ')' tira os dois", 3, 4],
    ["((8/0)+1)", [[DIVISAO_POR_ZERO]], "Certo! Divisao por 0: em 8 / 0", 1, 1],
    ["(3-5)", [["3", "-2"], ["-2"]], "Não é 3. Esse é um dos valores", 1, 2],
    ["(+)", [["7", PILHA_VAZIA]], "Não é 7. Conte o que o ')' precisa", 0, 1],
    ["(9/3)", [[null], [null]], "9 / 3 = 3: o operando mais fundo", 0, 0],
    ["((1+2)*3)", [[PILHA_CHEIA]], "Certo! Pilha Cheia: já há 2 nós", 1, 1, 2],
  ];
  for (const [linha, respostas, dito, acertos, respondidas, memoria] of casos) {
    const { retornos, licao, perguntas } = await preve(linha, respostas, memoria);
    assert.ok(
      retornos.some((texto) => texto.startsWith(dito)),
      `${linha}: ${retornos}`,
    );
    const contas = [licao.acertos, licao.respondidas, perguntas];
    assert.deepEqual(contas, [acertos, respondidas, respostas.length], linha);
  }
});

// prettier-ignore
const LINKS = [
  ["#e=((1%2B2)*3)&passo=5&ritmo=de-uma-vez", { expressoes: ["((1+2)*3)"], passo: 5, ritmo: "imediato" }],
  ["#e=(1%2B2)&e=(4*5)", { expressoes: ["(1+2)", "(4*5)"] }],
  ["#e=%ZZ%E0&passo=-3", { ignoradas: ["e=%ZZ%E0", "passo=-3"] }],
  ["#e=(1%2B2)%0An&ritmo=de-uma-vez&cor=1", { expressoes: ["(1+2)"], ritmo: "imediato",
    ignoradas: ["e=(1%2B2)%0An (só a primeira linha, sem controles)", "cor=1"] }],
  ["#e=(1+2)&memoria=5&codigo=0", { expressoes: ["(1 2)"], memoria: 5, codigo: false,
    ignoradas: ["e=(1+2) (+ é espaço num link; o sinal de mais é %2B)"] }],
  ["#memoria=21&memoria=&passo=2", { memoria: 0, ignoradas: ["memoria=21", "passo=2 (sem e)"] }],
  ["#embutido=1&ritmo=rapido", { embutido: true, ignoradas: ["ritmo=rapido"] }],
  ["#desafio=resposta:-10&desafio=altura:26&desafio=erro:cheia:3&desafio=erro:zero:2", {
    desafios: [{ texto: "resposta:-10", resposta: -10 }, { texto: "erro:cheia:3", erro: PILHA_CHEIA, memoria: 3 }],
    ignoradas: ["desafio=altura:26", "desafio=erro:zero:2"] }],
  ["#desafio=resposta:2147483648&desafio=erro:nada&desafio=altura:1", {
    desafios: [{ texto: "altura:1", altura: 1 }],
    ignoradas: ["desafio=resposta:2147483648", "desafio=erro:nada"] }],
  // A platform's query, read as the fragment, which wins where both name a key.
  ["?e=(1%2B1)&ritmo=prever&scoid=3&aprovacao=x#e=(2*3)&aprovacao=100", { expressoes: ["(2*3)"],
    ritmo: "prever", aprovacao: 100, ignoradas: [] }],
  ["?aprovacao=101&e=%ZZ", { ignoradas: ["aprovacao=101", "e=%ZZ"] }],
];

// A wrong first answer that a known mistake gives names it, without the right value;
// one that none gives gets the plain hint. Each case: a line, which question (0 the
// first), the answer typed there, the mistake named and words of its hint.
// prettier-ignore
const ENGANOS = [
  ["(3-5)", 0, "2", "operandos trocados", "3, o mais fundo na pilha 1, é o operando da esquerda"],
  ["(7/2)", 0, "3.5", "divisão sem corte", "corta o quociente em direção ao zero"],
  ["(7/2)", 0, "3,5", "divisão sem corte", "sem casas decimais"],
  ["(7/2)", 0, "4", "divisão sem corte", "sem arredondar"],
  ["((0-7)/2)", 1, "-4", "divisão sem corte", "sem arredondar"],
  ["((((9*9)*(9*9))*((9*9)*(9*9)))*(9*9))", 8, "3486784401", "conta sem a volta dos 32 bits", "32 bits"],
  ["(1+2)", 0, "2", "valor tirado no lugar do resultado", "um dos valores que o ')' tira"],
  ["((1+2)*(3+4))", 1, "12", "par errado", "tira o que está no topo"],
  ["(1+(2*(3+4)))", 1, "3", "par errado", "tira o que está no topo"],
  ["12", 0, "12", "resposta fora do topo", "o que está embaixo dele é descartado"],
  ["12", 0, "1", "resposta fora do topo", "topo da pilha 1"],
  ["(3-5)", 0, "99999999999999999999", undefined, "O ')' tira os dois operandos"],
];

test("Prever names the mistake a wrong answer shows", async () => {
  for (const [linha, qual, palpite, nome, dito] of ENGANOS) {
    const respostas = Array.from({ length: qual + 1 }, (_, vez) =>
      vez < qual ? [null] : [palpite, null],
    );
    const { retornos, licao } = await preve(linha, respostas);
    assert.ok(retornos[qual].includes(dito), `${linha} ${palpite}: ${retornos[qual]}`);
    assert.deepEqual(licao.enganos, nome ? { [nome]: 1 } : {}, `${linha} ${palpite}`);
  }
});

// Each case: a goal, the lines tried in turn, and the words of each verdict.
// prettier-ignore
const DESAFIOS = [
  ["resposta:10", [["((2*3)+4)", "Desafio cumprido: a avaliação respondeu 10."],
    ["(1+2)", "Ainda não: esta linha respondeu 3."]]],
  ["altura:4", [["(1+(2+(3+4)))", "Desafio cumprido: a pilha 1 chegou a 4 nós."],
    ["((1+2)+3)", "Ainda não: a pilha 1 chegou a 2 nós."]]],
  ["erro:vazia", [["(+)", "Desafio cumprido: a avaliação terminou em Pilha Vazia."],
    ["(1+2)", "Ainda não: esta linha respondeu 3."],
    ["((1+2)", "Ainda não: a linha foi recusada (não passa na regra dos parênteses, " +
      "colchetes e operadores)."]]],
  ["erro:cheia:3", [["((1+2)*(3+4))", "Desafio cumprido: a avaliação terminou em Pilha Cheia."],
    ["((1+2)*3)", "Ainda não: esta linha respondeu 9."]]],
  ["erro:zero", [["(8/(1-1))", "Desafio cumprido: a avaliação terminou em Divisao por 0."],
    ["1".repeat(51), "Ainda não: a linha foi recusada (tem mais de 50 caracteres)."]]],
];

test("a challenge is judged by the program's own steps", async () => {
  for (const [texto, tentativas] of DESAFIOS) {
    const desafio = leDesafio(texto);
    for (const [linha, veredito] of tentativas) {
      const { passos } = await avalia(linha, { memoria: desafio.memoria });
      assert.equal(julgaDesafio(desafio, passos, nomes).texto, veredito, `${texto} ${linha}`);
    }
  }
});

test("a link's keys are read, and what is not understood named", () => {
  for (const [link, pedido] of LINKS) {
    const [busca, fragmento] = link.startsWith("?") ? [...link.split("#"), ""] : ["", link];
    const esperado = { expressoes: [], desafios: [], ignoradas: [], ...pedido };
    assert.deepEqual(leLink(busca, fragmento), esperado, link);
  }
});

// Each case: a list's one exercise, the answers to its questions, whether the link set
// Prever, the pace, and the exercise's questions asked and right at the first try.
// prettier-ignore
const PLACARES = [
  ["(2*3)", [["5", "6"], ["6"]], true, "prever", 2, 1],
  ["(2*3)", [[null], ["6"]], true, "prever", 2, 1],
  ["((1+2)*3)", [], true, "imediato", 3, 0],
  ["((1+2)*3)", [], false, "imediato", 0, 0],
  ["((1+2)", [], true, "prever", 0, 0],
];

test("an exercise's questions are counted in its own results, shown and skipped ones as asked", async () => {
  for (const [linha, respostas, listaEmPrever, ritmo, perguntas, acertos] of PLACARES) {
    const licao = criaLicao();
    const lista = { exercicios: [linha], placares: placaresDe([linha]), digitado: 0 };
    licao.muda({ ritmo, velocidade: 0, erros: nomes, listaEmPrever, ...lista });
    ligaResultados(licao);
    const conducao = conduz(licao);
    let vez = 0;
    licao.observa((mudou) => {
      if (mudou.has("pergunta") && licao.pergunta !== null) {
        const palpites = (respostas[vez++] ?? [null]).map((p) => p && lePalpite(p));
        setTimeout(() => palpites.forEach(conducao.responde));
      }
    });
    await avalia(linha, { passo: conducao.passo });
    assert.deepEqual(licao.placares, [{ perguntas, acertos, avaliado: true }], `${linha} ${ritmo}`);
  }
});

// A list as the record holds it: each exercise's [asked, right] (evaluated unless a
// third item says not), the pass mark, the challenges' state.
// prettier-ignore
const lista = (pares, aprovacao = null, { desafio = 0, tentativas = [], cumpridos = [] } = {}) => ({
  exercicios: pares.map(() => "(1+1)"),
  placares: pares.map(([perguntas, acertos, avaliado = true]) => ({ perguntas, acertos, avaliado })),
  ...{ desafios: tentativas.map(() => leDesafio("resposta:2")), desafio, tentativas, cumpridos },
  ...{ aprovacao, acertos: 5, respondidas: 6, enganos: { "par errado": 1 } },
});

// prettier-ignore
const NOTAS = [
  [lista([[2, 2], [1, 0, false], [0, 0, false]], 50), 67, "incomplete"],
  [lista([], 50, { desafio: 1, tentativas: [2, 0], cumpridos: [true, false] }), 0, "incomplete"],
  [lista([], 50, { desafio: 1, tentativas: [1, 3], cumpridos: [true, false] }), 50, "passed"],
  [lista([]), null, "completed"],
];

test("the list's score and status, as a platform records them", () => {
  for (const [registro, nota, status] of NOTAS) {
    assert.deepEqual([resultado(registro).nota, resultado(registro).status], [nota, status]);
  }
});

test("where the student stands, for a later visit to take back, for that list only; its time", () => {
  // prettier-ignore
  const registro = lista([[2, 2], [1, 1, false], [0, 0, false]], 80, {
    desafio: 1, tentativas: [2, 0], cumpridos: [true, false] });
  const texto = codificaRetomada(registro);
  const { placares, desafio, tentativas, cumpridos, ...resto } = leRetomada(texto, registro);
  const lidos = [placares.map((p) => p.perguntas), desafio, tentativas, cumpridos, resto];
  const tally = { feitos: 1, acertos: 5, respondidas: 6, enganos: { "par errado": 1 } };
  assert.deepEqual(lidos, [[2, 0, 0], 1, [2, 0], [true, false], tally]);
  const outras = ["{", texto.replace('"d":1', '"d":2'), texto.replace('"t":[2,0]', '"t":[2]')];
  const lidas = [
    ...outras.map((outra) => leRetomada(outra, registro)),
    leRetomada(texto, lista([])),
  ];
  assert.deepEqual(lidas, [null, null, null, null]);
  const longa = codificaRetomada({ ...registro, enganos: { ["x".repeat(MAIOR_RETOMADA)]: 1 } });
  assert.deepEqual(JSON.parse(longa).g, {});
  const tempos = { 0: "0000:00:00.00", 3723456: "0001:02:03.46", 1e12: "9999:59:59.99" };
  Object.entries(tempos).forEach(([ms, dito]) => assert.equal(tempoScorm(Number(ms)), dito));
});
