// Prever's questions, from the program's own steps: what a question asks, its right
// answer once the program has got there, why it is right, and a hint for a wrong
// answer that does not give the right one away. No DOM, no arithmetic of its own.
import { constantes } from "fonte";
import { NOMES_DOS_PAPEIS, desenhado, papel, tirados } from "./passos.mjs";

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

export const iguais = (uma, outra) => uma.erro === outra.erro && uma.valor === outra.valor;

// An answer as the student reads it: a failure by its name, which `erros` gives.
export const nome = (resposta, erros) => erros.get(resposta.erro) ?? String(resposta.valor);

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
    return `${erro}: em ${esquerdo} / ${direito}, o operando da direita é 0.`;
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
export function dica({ tipo, passos, certa }, palpite) {
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
  if (Object.values(tirados(passos, passos.length - 1)).includes(palpite.valor)) {
    return "Esse é um dos valores que o ')' tira: ele empilha o resultado da conta.";
  }
  const tira = "O ')' tira os dois operandos do topo da pilha 1 e o operador do topo da pilha 2";
  return `${tira}; ${MAIS_FUNDO}.`;
}

// A guess judged: what to say, and whether the question is settled (right, or wrong
// a second time) or asks again. `errou` says whether it was already answered wrong;
// a null guess asks to be shown the answer.
export function julga(questao, palpite, errou, erros) {
  if (palpite === null) {
    return { texto: razao(questao, erros), encerra: true, contada: false };
  }
  const acertou = iguais(palpite, questao.certa);
  const nao = `Não é ${nome(palpite, erros)}.`;
  if (!acertou && !errou) {
    return { texto: `${nao} ${dica(questao, palpite)}`, encerra: false };
  }
  const juizo = acertou ? "Certo!" : nao;
  return { texto: `${juizo} ${razao(questao, erros)}`, encerra: true, contada: true, acertou };
}
