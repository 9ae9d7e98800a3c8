// The page's two small helpers for building and scrolling its elements.

// A new element of `tipo` with its classes and children (nodes or texts).
export function elemento(tipo, classe = "", filhos = []) {
  const novo = document.createElement(tipo);
  novo.className = classe;
  novo.append(...filhos);
  return novo;
}

// Scrolls `caixa`, and only it, so that `alvo` stands in its upper third if it was
// out of sight. `cabecalho` is what a sticky header of the box covers at its top. The
// box is positioned: the target's offset is from its top.
export function mantemVisivel(caixa, alvo, cabecalho = 0) {
  const topo = alvo.offsetTop;
  const visivel = caixa.scrollTop + cabecalho;
  if (topo < visivel || topo + alvo.offsetHeight > caixa.scrollTop + caixa.clientHeight) {
    caixa.scrollTop = topo - cabecalho - caixa.clientHeight / 3;
  }
}
