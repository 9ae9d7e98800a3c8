// Prever's questions, from the program's own steps: what a question asks, its right
// answer once the program has got there, why it is right, and, for a wrong answer, a
// hint that does not give the right one away: one that names the mistake where the
// answer is what a known mistake gives, by the program's own arithmetic (`conta`,
// ponte.mjs). No DOM, and no arithmetic of its own.
import { constantes } from "fonte";
import { NOMES_DOS_PAPEIS, desenhado, papel, perguntaDe, tirados } from "./passos.mjs";

const { EMPILHOU, DESEMPILHOU, SUCESSO, PILHA_CHEIA, PILHA_VAZIA, DIVISAO_POR_ZERO } = constantes;

const ENUNCIADOS = {
  parentese: "que valor este ')' empilha na pilha 1? Ou que erro encerra aqui a avaliação?",
  fim: "como termina a avaliação? Digite a resposta que sai da pilha 1, ou escolha o erro.",
};
const MAIS_FUNDO = "o operando mais fundo fica à esquerda";

// The question `tipo` as its first step puts it.
export function enunciado(tipo, { expressao, lendo }) {
  const onde =
    lendo < expressao.length
      ? `Caractere ${lendo + 1}, '${String.fromCharCode(expressao[lendo])}'`
      : "Fim da expressão";
  return `${onde}: ${ENUNCIADOS[tipo]}`;
}

// The right answer, once the step that settles it has come: the failure, or the value
// a ')' pushes or the end pops. Null while the program has not got there.
export function respostaCerta(tipo, passo) {
  if (passo.status !== SUCESSO) {
    return { erro: passo.status };
  }
  return passo.acao === (tipo === "parentese" ? EMPILHOU : DESEMPILHOU)
    ? { valor: passo.valor }
    : null;
}

// How many questions Prever asks of an evaluation, asked or not: a question opens at
// the step perguntaDe names and is settled by the step that gives its right answer.
export function contaPerguntas(passos) {
  let aberta = null;
  let quantas = 0;
  for (const passo of passos) {
    aberta ??= perguntaDe(passo);
    if (aberta !== null && respostaCerta(aberta, passo) !== null) {
      quantas++;
      aberta = null;
    }
  }
  return quantas;
}

// What the student typed, as an answer: { valor } for a whole number of any size (its
// decimal text), { fracao } for one with a point or a comma; null for anything else.
export function lePalpite(texto) {
  const numero = /^\s*([-+−]?)\s*(\d+)(?:[.,](\d+))?\s*$/.exec(texto);
  if (numero === null) {
    return null;
  }
  const [, sinal, inteiro, fracao] = numero;
  const negativo = sinal === "-" || sinal === "−";
  if (fracao !== undefined) {
    return { fracao: `${negativo ? "-" : ""}${inteiro},${fracao}` };
  }
  return { valor: BigInt(`${negativo ? "-" : ""}${inteiro}`).toString() };
}

// A value of the program as an answer's text.
const texto = (valor) => (valor === undefined ? undefined : String(valor));

export const iguais = (palpite, certa) =>
  palpite.erro === certa.erro &&
  palpite.fracao === undefined &&
  palpite.valor === texto(certa.valor);

// An answer as the student reads it: a failure by its name, which `erros` gives.
export const nome = (resposta, erros) =>
  erros.get(resposta.erro) ?? resposta.fracao ?? String(resposta.valor);

// Why the right answer is right, in the program's own values. `questao` is
// { tipo, passos, certa }: its steps from the first to the one that settled it.
export function razao({ tipo, passos, certa }, erros) {
  const ultimo = passos.at(-1);
  const { direito, esquerdo, operador } = tirados(passos, passos.length - 1);
  const erro = erros.get(certa.erro);
  if (certa.erro === PILHA_CHEIA) {
    const nos = ultimo.operandos.length + ultimo.operadores.length;
    const vivos = `${nos} ${nos === 1 ? "nó" : "nós"}`;
    return `${erro}: já há ${vivos} nas pilhas, e a memória não dá mais um.`;
  }
  if (certa.erro === DIVISAO_POR_ZERO) {
    return `${erro}: em ${esquerdo} ${desenhado(2, operador)} ${direito}, o operando da direita é 0.`;
  }
  if (certa.erro === PILHA_VAZIA) {
    const faltou = NOMES_DOS_PAPEIS[papel(passos, passos.length - 1)];
    return tipo === "fim"
      ? `${erro}: não sobrou valor na pilha 1 para a resposta.`
      : `${erro}: o ')' foi tirar ${faltou}, e a pilha ${ultimo.pilha} estava vazia.`;
  }
  if (tipo === "fim") {
    const abaixo = ultimo.operandos.length;
    const embaixo =
      [".", "; o valor embaixo dele é descartado."][abaixo] ??
      "; os valores embaixo dele são descartados.";
    return `${certa.valor} sai do topo da pilha 1${embaixo}`;
  }
  return `${esquerdo} ${desenhado(2, operador)} ${direito} = ${certa.valor}: ${MAIS_FUNDO}.`;
}

// What to look at again, without the answer.
export function dica({ tipo, certa }, palpite) {
  if (certa.erro === PILHA_CHEIA) {
    return "Conte os nós das duas pilhas e compare com a Memória.";
  }
  if (tipo === "fim") {
    return certa.erro
      ? "Veja o que sobrou na pilha 1."
      : "A resposta é um só valor: o que o programa tira da pilha 1.";
  }
  if (certa.erro === PILHA_VAZIA) {
    return "Conte o que o ')' precisa: dois operandos na pilha 1 e um operador na pilha 2.";
  }
  if (certa.erro === DIVISAO_POR_ZERO) {
    return "Olhe o operador e o operando do topo da pilha 1, o que fica à direita.";
  }
  if (palpite.erro) {
    return "Aqui não há erro: as pilhas têm o que este ')' tira, e a conta pode ser feita.";
  }
  return `${TIRA}; ${MAIS_FUNDO}.`;
}

// ---- Mistakes a wrong answer shows ----

const TIRA = "O ')' tira os dois operandos do topo da pilha 1 e o operador do topo da pilha 2";

// The results of any other pair of operands, the deeper on the left, and operator
// than the two operands and the operator on top. `antes` are the stacks as the ')'
// found them.
function paresErrados({ antes, conta }) {
  const { operandos, operadores } = antes;
  const resultados = new Set();
  operadores.forEach((operador, qual) =>
    operandos.forEach((direito, topo) =>
      operandos.slice(topo + 1).forEach((esquerdo, abaixo) => {
        if (qual + topo + abaixo > 0) {
          resultados.add(conta.calcula(esquerdo, direito, operador));
        }
      }),
    ),
  );
  resultados.delete(""); // a division by zero, which gives no value
  return resultados;
}

// The known mistakes at a ')' and at the end: each one's name in the tally, whether a
// wrong answer is what it gives, and the hint that names it. `c` is the question's
// context (`contexto`), `p` the answer.
const ENGANOS = {
  parentese: [
    {
      nome: "operandos trocados",
      da: (c, p) => p.valor === c.conta.calcula(c.direito, c.esquerdo, c.operador),
      dica: (c) =>
        `A ordem conta: ${c.esquerdo}, o mais fundo na pilha 1, é o operando da esquerda, ` +
        `e ${c.direito}, o do topo, o da direita.`,
    },
    {
      nome: "divisão sem corte",
      da: (c, p) => {
        const [arredondado, piso] = [false, true].map((chao) =>
          c.conta.semCorte(c.esquerdo, c.direito, c.operador, chao),
        );
        return (
          arredondado !== "" && (p.fracao !== undefined || [arredondado, piso].includes(p.valor))
        );
      },
      dica: () =>
        "A divisão é de inteiros: o programa corta o quociente em direção ao zero, " +
        "sem casas decimais e sem arredondar.",
    },
    {
      nome: "conta sem a volta dos 32 bits",
      da: (c, p) => p.valor === c.conta.semVolta(c.esquerdo, c.direito, c.operador),
      dica: () =>
        "O programa conta em 32 bits: um resultado maior que 2147483647 ou menor que " +
        "-2147483648 dá a volta e recomeça do outro lado.",
    },
    {
      nome: "valor tirado no lugar do resultado",
      da: (c, p) => Object.values(c.tirados).map(texto).includes(p.valor),
      dica: () => "Esse é um dos valores que o ')' tira: ele empilha o resultado da conta.",
    },
    {
      nome: "par errado",
      da: (c, p) => paresErrados(c).has(p.valor),
      dica: () =>
        "Um ')' tira o que está no topo: os dois operandos do topo da pilha 1 " +
        "e o operador do topo da pilha 2.",
    },
  ],
  fim: [
    {
      nome: "resposta fora do topo",
      da: (c, p) => [...c.abaixo.map(texto), c.linha].includes(p.valor),
      dica: () =>
        "A resposta é o topo da pilha 1, o último valor empilhado; " +
        "o que está embaixo dele é descartado.",
    },
  ],
};

// What the mistakes are judged by: the values the ')' took and the stacks as it found
// them, or, at the end, the values left under the answer and the line's digits.
function contexto({ passos }, conta) {
  const [primeiro] = passos;
  const levados = tirados(passos, passos.length - 1);
  const digitos = new TextDecoder().decode(primeiro.expressao).replace(/\s/g, "");
  return {
    ...levados,
    tirados: levados,
    antes: {
      operandos: [primeiro.valor, ...primeiro.operandos],
      operadores: primeiro.operadores,
    },
    abaixo: primeiro.operandos,
    linha: /^\d+$/.test(digitos) ? digitos : undefined,
    conta,
  };
}

// The known mistake that gives this wrong answer, if any: { nome, dica }.
export function engano(questao, palpite, conta) {
  if (questao.certa.valor === undefined || palpite.erro !== undefined) {
    return null;
  }
  const c = contexto(questao, conta);
  const achado = ENGANOS[questao.tipo].find((um) => um.da(c, palpite));
  return achado ? { nome: achado.nome, dica: achado.dica(c) } : null;
}

// A guess judged: what to say, whether the question is settled (right, or wrong a
// second time) or asks again, and the mistake named, if one was. `errou` says whether
// it was already answered wrong; a null guess asks to be shown the answer.
export function julga(questao, palpite, errou, erros, conta) {
  if (palpite === null) {
    return { texto: razao(questao, erros), encerra: true, contada: false };
  }
  const acertou = iguais(palpite, questao.certa);
  const nao = `Não é ${nome(palpite, erros)}.`;
  if (!acertou && !errou) {
    const achado = engano(questao, palpite, conta);
    const porque = achado?.dica ?? dica(questao, palpite);
    return { texto: `${nao} ${porque}`, encerra: false, engano: achado?.nome };
  }
  const juizo = acertou ? "Certo!" : nao;
  return { texto: `${juizo} ${razao(questao, erros)}`, encerra: true, contada: true, acertou };
}
