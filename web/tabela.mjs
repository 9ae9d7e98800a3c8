// The table of steps under the drawing: one row per step of the evaluation, with the
// character read, what happened, and both stacks after it, top first. It is the
// stacks' text form as well; a click on a row, or Enter on it, shows that step.
import { constantes } from "fonte";
import { elemento, mantemVisivel } from "./dom.mjs";
import { descreve, lido, textoDaPilha } from "./passos.mjs";

const { COMECOU, RECUSOU } = constantes;

// A step's cells: its number, the character read and its place (from 1), the words,
// and the two stacks as texts.
function celulas(passos, indice) {
  const passo = passos[indice];
  const comeco = passo.acao === COMECOU || passo.acao === RECUSOU; // nothing read
  const caractere = lido(passo);
  const numero = elemento("th", "", [String(indice + 1)]);
  numero.scope = "row";
  const textos = [
    comeco ? "" : (caractere ?? "fim"),
    comeco || caractere === null ? "" : String(passo.lendo + 1),
    descreve(passos, indice),
    textoDaPilha(1, passo.operandos) || "vazia",
    textoDaPilha(2, passo.operadores) || "vazia",
  ];
  return [numero, ...textos.map((texto) => elemento("td", "", [texto]))];
}

// A click on a row, or Enter on it, shows its step; the arrows go from row to row.
function ligaLinhas(corpo, licao) {
  const vaiPara = (linha) => licao.muda({ mostrado: linha.sectionRowIndex });
  corpo.addEventListener("click", (evento) => {
    const linha = evento.target.closest("tr");
    if (linha) {
      vaiPara(linha);
    }
  });
  corpo.addEventListener("keydown", (evento) => {
    const linha = evento.target.closest("tr");
    const vizinha = {
      ArrowUp: linha?.previousElementSibling,
      ArrowDown: linha?.nextElementSibling,
    };
    if (evento.key === "Enter" && linha) {
      vaiPara(linha);
    } else if (vizinha[evento.key]) {
      vizinha[evento.key].focus();
    } else {
      return;
    }
    evento.preventDefault();
    evento.stopPropagation();
  });
}

export function criaTabela(tabela, licao) {
  const corpo = tabela.tBodies[0];
  const caixa = tabela.parentElement; // what scrolls
  let atual = null;
  let primeiro = null; // the first step of the evaluation in the table
  ligaLinhas(corpo, licao);
  // A row for each step not yet in the table; a new evaluation starts it anew.
  function acrescenta() {
    const { passos } = licao;
    if (passos[0] !== primeiro) {
      primeiro = passos[0];
      corpo.replaceChildren();
      atual = null;
    }
    for (let indice = corpo.rows.length; indice < passos.length; indice++) {
      const linha = elemento("tr", "", celulas(passos, indice));
      linha.tabIndex = -1;
      corpo.append(linha);
    }
  }

  // The row of the step shown: current, the one Tab reaches, and in view.
  function marca() {
    if (atual) {
      atual.removeAttribute("aria-current");
      atual.tabIndex = -1;
    }
    atual = corpo.rows[licao.mostrado] ?? null;
    if (atual) {
      atual.setAttribute("aria-current", "step");
      atual.tabIndex = 0;
      mantemVisivel(caixa, atual, tabela.tHead.offsetHeight);
    }
  }

  licao.observa((mudou) => {
    if (mudou.has("passos")) {
      acrescenta();
    }
    if (mudou.has("mostrado")) {
      marca();
    }
  });
}
