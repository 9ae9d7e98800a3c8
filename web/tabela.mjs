// The table of steps under the drawing: one row per step of the evaluation, with the
// character read, what happened, and both stacks after it, top first. It is the
// stacks' text form as well; a click on a row, or Enter on it, shows that step.

function celula(tipo, texto) {
  const nova = document.createElement(tipo);
  nova.textContent = texto;
  return nova;
}

// `vaiPara` shows the step of a row, by its index.
export function criaTabela(tabela, vaiPara) {
  const corpo = tabela.tBodies[0];
  const caixa = tabela.parentElement; // what scrolls
  let atual = null;

  corpo.addEventListener("click", (evento) => {
    const linha = evento.target.closest("tr");
    if (linha) {
      vaiPara(linha.sectionRowIndex);
    }
  });
  corpo.addEventListener("keydown", (evento) => {
    const linha = evento.target.closest("tr");
    const vizinha = {
      ArrowUp: linha?.previousElementSibling,
      ArrowDown: linha?.nextElementSibling,
    };
    if (evento.key === "Enter" && linha) {
      vaiPara(linha.sectionRowIndex);
    } else if (vizinha[evento.key]) {
      vizinha[evento.key].focus();
    } else {
      return;
    }
    evento.preventDefault();
    evento.stopPropagation();
  });

  return {
    limpa() {
      corpo.replaceChildren();
      atual = null;
    },

    // A row for a step: its number, the character read and where, the words, and
    // the two stacks as texts.
    acrescenta({ lido, posicao, descricao, pilha1, pilha2 }) {
      const linha = document.createElement("tr");
      linha.tabIndex = -1;
      const numero = celula("th", String(corpo.rows.length + 1));
      numero.scope = "row";
      linha.append(
        numero,
        ...[lido, posicao, descricao, pilha1, pilha2].map((texto) => celula("td", texto)),
      );
      corpo.append(linha);
    },

    // The row of the step shown: current, the one Tab reaches, and in view.
    marca(indice) {
      if (atual) {
        atual.removeAttribute("aria-current");
        atual.tabIndex = -1;
      }
      atual = corpo.rows[indice] ?? null;
      if (!atual) {
        return;
      }
      atual.setAttribute("aria-current", "step");
      atual.tabIndex = 0;
      const topo = atual.offsetTop;
      const cabecalho = tabela.tHead.offsetHeight;
      if (
        topo - cabecalho < caixa.scrollTop ||
        topo + atual.offsetHeight > caixa.scrollTop + caixa.clientHeight
      ) {
        caixa.scrollTop = topo - cabecalho - caixa.clientHeight / 3;
      }
    },
  };
}
