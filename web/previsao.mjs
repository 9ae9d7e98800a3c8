// The pace "Prever": the evaluation runs as in the animated pace up to a step the
// student can predict (what a ')' pushes onto pilha 1, or the failure that ends the
// scan there; at the end, the answer or the failure) and asks for it before it shows.
// The program runs ahead to the step that settles the question, so the right answer
// is the program's own; its steps and what it writes meanwhile are held back until
// the question is answered. And "Memória", the limit that makes a push fail.

import { constantes } from "fonte";

// The steps and the failures the program reports, as its headers define them.
const {
  COMECOU,
  EMPILHOU,
  DESEMPILHOU,
  LIBEROU,
  SUCESSO,
  PILHA_CHEIA,
  PILHA_VAZIA,
  DIVISAO_POR_ZERO,
} = constantes;

// In the order of their buttons: the failures of a ')' first.
const ERROS = new Map([
  [PILHA_VAZIA, "Pilha Vazia"],
  [DIVISAO_POR_ZERO, "Divisao por 0"],
  [PILHA_CHEIA, "Pilha Cheia"],
]);

const FECHA_PARENTESE = 0x29;
const PAPEIS = ["o operando da direita", "o operando da esquerda", "o operador"];
const MAIS_FUNDO = "o operando mais fundo fica à esquerda";

const ENUNCIADOS = {
  parentese: "que valor este ')' empilha na pilha 1? Ou que erro encerra aqui a avaliação?",
  fim: "como termina a avaliação? Digite a resposta que sai da pilha 1, ou escolha o erro.",
};

// ---- The questions, from the program's steps ----

// Where a question begins: the first step of a ')'; and, as the question of the end,
// the pop of the answer, or a push that fails on the way (a memory limit).
function tipoDaPergunta(passo) {
  if (passo.acao !== EMPILHOU && passo.acao !== DESEMPILHOU) {
    return null;
  }
  if (passo.expressao[passo.lendo] === FECHA_PARENTESE) {
    return "parentese";
  }
  return passo.lendo === passo.expressao.length || passo.status !== SUCESSO ? "fim" : null;
}

// The right answer, once the step that settles it has come: the failure, or the value
// a ')' pushes or the end pops. Null while the program has not got there.
function respostaCerta(tipo, passo) {
  if (passo.status !== SUCESSO) {
    return { erro: passo.status };
  }
  return passo.acao === (tipo === "parentese" ? EMPILHOU : DESEMPILHOU)
    ? { valor: passo.valor }
    : null;
}

const nome = (resposta) => ERROS.get(resposta.erro) ?? String(resposta.valor);
const iguais = (uma, outra) => uma.erro === outra.erro && uma.valor === outra.valor;

// What a ')' has taken so far: the right operand, the left one and the operator.
const tirados = (passos) =>
  passos
    .filter((passo) => passo.acao === DESEMPILHOU && passo.status === SUCESSO)
    .map((passo) => passo.valor);

function enunciado({ tipo, passos }) {
  const { expressao, lendo } = passos[0];
  const onde =
    lendo < expressao.length
      ? `Caractere ${lendo + 1}, '${String.fromCharCode(expressao[lendo])}'`
      : "Fim da expressão";
  return `${onde}: ${ENUNCIADOS[tipo]}`;
}

// Why the right answer is right, in the program's own values.
function razao({ tipo, certa, passos }) {
  const ultimo = passos.at(-1);
  const [direito, esquerdo, operador] = tirados(passos);
  if (certa.erro === PILHA_CHEIA) {
    const nos = ultimo.operandos.length + ultimo.operadores.length;
    const vivos = `${nos} ${nos === 1 ? "nó" : "nós"}`;
    return `Pilha Cheia: já há ${vivos} nas pilhas, e a memória não dá mais um.`;
  }
  if (certa.erro === DIVISAO_POR_ZERO) {
    return `Divisao por 0: em ${esquerdo} / ${direito}, o operando da direita é 0.`;
  }
  if (certa.erro === PILHA_VAZIA) {
    const faltou = tirados(passos).length; // the pops that worked before the one that did not
    return tipo === "fim"
      ? "Pilha Vazia: não sobrou valor na pilha 1 para a resposta."
      : `Pilha Vazia: o ')' foi tirar ${PAPEIS[faltou]}, e a pilha ${faltou < 2 ? 1 : 2} ` +
          "estava vazia.";
  }
  if (tipo === "fim") {
    const embaixo =
      {
        0: ".",
        1: "; o valor embaixo dele é descartado.",
      }[ultimo.operandos.length] ?? "; os valores embaixo dele são descartados.";
    return `${certa.valor} sai do topo da pilha 1${embaixo}`;
  }
  const conta = `${esquerdo} ${String.fromCharCode(operador)} ${direito} = ${certa.valor}`;
  return `${conta}: ${MAIS_FUNDO}.`;
}

// What to look at again, without the answer.
function dica({ tipo, certa, passos }, palpite) {
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
  if (tirados(passos).includes(palpite.valor)) {
    return "Esse é um dos valores que o ')' tira: ele empilha o resultado da conta.";
  }
  const tira = "O ')' tira os dois operandos do topo da pilha 1 e o operador do topo da pilha 2";
  return `${tira}; ${MAIS_FUNDO}.`;
}

// ---- The pace ----

// `desenho` draws the steps, `terminal` holds back what the program writes.
export function criaPrevisao(raiz, desenho, terminal) {
  const achado = (id) => raiz.querySelector(`#${id}`);
  const [caixa, pergunta, formulario, campo, erros, retorno, placar] = [
    "previsao",
    "pergunta",
    "resposta",
    "palpite",
    "erros",
    "retorno",
    "acertos",
  ].map(achado);
  const ritmo = () => raiz.querySelector('input[name="ritmo"]:checked').value;
  let acertos = 0;
  let respondidas = 0; // for the visit, whatever the expression
  let aberta = null; // a question's steps so far, while the program runs ahead
  let responde = null; // settles the question that waits: a guess, or null to show it
  let pulando = false; // the rest of this evaluation goes on without questions

  for (const [erro, texto] of ERROS) {
    const botao = document.createElement("button");
    botao.type = "button";
    botao.textContent = texto;
    botao.addEventListener("click", () => responde?.({ erro }));
    erros.append(botao);
  }
  achado("mostrar").addEventListener("click", () => responde?.(null));
  achado("pula").addEventListener("click", () => pula());
  formulario.addEventListener("submit", (evento) => {
    evento.preventDefault();
    if (Number.isInteger(campo.valueAsNumber)) {
      responde?.({ valor: campo.valueAsNumber });
    }
  });
  raiz.addEventListener("change", (evento) => {
    if (evento.target.name === "ritmo") {
      caixa.hidden = ritmo() !== "prever";
      responde?.(null); // another pace goes on without the question
    }
  });
  caixa.hidden = ritmo() !== "prever";

  // Asks, and resolves once the question is settled: right, wrong twice, or shown.
  function pergunte(questao) {
    const foco = document.activeElement;
    let errou = false;
    desenho.marca(questao.passos[0].lendo);
    pergunta.textContent = enunciado(questao);
    retorno.textContent = "";
    formulario.hidden = false;
    campo.value = "";
    campo.focus();
    return new Promise((revela) => {
      responde = (palpite) => {
        if (palpite !== null && !iguais(palpite, questao.certa) && !errou) {
          errou = true;
          retorno.textContent = `Não é ${nome(palpite)}. ${dica(questao, palpite)}`;
          campo.focus();
          campo.select();
          return;
        }
        // The reason names the right answer.
        if (palpite === null) {
          retorno.textContent = razao(questao);
        } else {
          const acertou = iguais(palpite, questao.certa);
          acertos += acertou && !errou ? 1 : 0;
          respondidas++;
          placar.textContent = `Acertos: ${acertos} de ${respondidas}`;
          const juizo = acertou ? "Certo!" : `Não é ${nome(palpite)}.`;
          retorno.textContent = `${juizo} ${razao(questao)}`;
        }
        responde = null;
        pergunta.textContent = "";
        formulario.hidden = true;
        foco?.focus();
        revela();
      };
    });
  }

  // A step the program reports. In "Prever" what it wrote before the step shows with
  // it, and a question's steps wait, unseen, for its answer.
  async function passo(passo) {
    const ultimo = passo.acao === LIBEROU && passo.pilha === 2; // the outcome is written next
    const daAvaliacao = [COMECOU, EMPILHOU, DESEMPILHOU, LIBEROU].includes(passo.acao);
    pulando &&= passo.acao !== COMECOU;
    if ((ritmo() !== "prever" || !daAvaliacao || pulando) && aberta === null) {
      terminal.retem(false);
      return desenho.passo(passo);
    }
    terminal.retem(true);
    const tipo = aberta?.tipo ?? tipoDaPergunta(passo);
    if (tipo !== null) {
      aberta ??= { tipo, passos: [] };
      aberta.passos.push(passo);
      const certa = respostaCerta(tipo, passo);
      if (certa === null) {
        return; // the program runs ahead to the step that settles it
      }
      const questao = { ...aberta, certa };
      aberta = null;
      await pergunte(questao);
      terminal.solta();
      for (const visto of questao.passos) {
        await desenho.passo(visto);
      }
      return;
    }
    terminal.solta();
    await desenho.passo(passo);
    terminal.retem(!ultimo);
  }

  // "Pular para o fim", or Ctrl-C: the question that waits is shown, and no other asked.
  function pula() {
    pulando = true;
    responde?.(null);
  }

  return { passo, pula };
}

// "Memória": "" for no limit, or how many nodes may be alive at once; `limita` tells
// the program, 0 for none.
export function ligaMemoria(lista, limita) {
  const aplica = () => limita(Number(lista.value));
  lista.addEventListener("change", aplica);
  aplica();
}
