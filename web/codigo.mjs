// The panel "O código": the program's own source of the evaluation and of the stack,
// as src/ held it when the page was built, coloured by Prism, with the lines of the
// step shown marked: the evaluation's call that made it and the stack's function
// that did it, and faintly those of the step before.
import Prism from "prismjs/components/prism-core";
import "prismjs/components/prism-clike";
import "prismjs/components/prism-c";
import "prismjs/components/prism-cpp";
import { arquivos, constantes } from "fonte";
import { elemento, mantemVisivel } from "./dom.mjs";
import "./codigo.css";

const { COMECOU, EMPILHOU, DESEMPILHOU, LIBEROU } = constantes;

const ESPERA_PELO_PAINEL = 1000; // ms, past the first prompt on a slow machine too

// Prism colours what it is given, and nothing of the page on its own.
Prism.manual = true;

// The stack's function behind each step, in src/pilha.cpp.
const FUNCAO_DA_PILHA = {
  [COMECOU]: "Cria_Pilha",
  [EMPILHOU]: "Push",
  [DESEMPILHOU]: "Pop",
  [LIBEROU]: "destroi_pilha",
};

// Prism's tokens of an excerpt, as one array of nodes per line: a token that holds
// a line end is cut there.
function linhasColoridas(texto) {
  const linhas = [[]];
  const percorre = (token, classes) => {
    if (typeof token === "string") {
      token.split("\n").forEach((pedaco, indice) => {
        if (indice > 0) {
          linhas.push([]);
        }
        if (pedaco !== "") {
          linhas.at(-1).push(classes ? elemento("span", classes, [pedaco]) : pedaco);
        }
      });
      return;
    }
    const proprias = ["token", token.type, ...[token.alias ?? []].flat()].join(" ");
    const dentro = Array.isArray(token.content) ? token.content : [token.content];
    dentro.forEach((parte) => percorre(parte, classes ? `${classes} ${proprias}` : proprias));
  };
  Prism.tokenize(texto, Prism.languages.cpp).forEach((token) => percorre(token, ""));
  return linhas;
}

// One file: its name, and its excerpts with a mark between two that lines part.
function desenhaArquivo({ nome, trechos }) {
  const linhas = new Map();
  const codigo = elemento("code", "");
  trechos.forEach(({ primeira, linhas: texto }, indice) => {
    if (indice > 0) {
      codigo.append(elemento("span", "salto", ["⋮"]));
    }
    linhasColoridas(texto.join("\n")).forEach((partes, deslocamento) => {
      const numero = primeira + deslocamento;
      const linha = elemento("span", "linha", [
        elemento("span", "numero", [String(numero)]),
        elemento("span", "texto", partes),
      ]);
      linhas.set(numero, linha);
      codigo.append(linha);
    });
  });
  const caixa = elemento("div", "caixa", [elemento("pre", "", [codigo])]);
  caixa.tabIndex = 0; // scrolled by keyboard too
  caixa.setAttribute("role", "region");
  caixa.setAttribute("aria-label", nome);
  const figura = elemento("figure", "arquivo", [elemento("figcaption", "", [nome]), caixa]);
  return { figura, caixa, linhas };
}

// Both files drawn in the panel, each file's marked lines kept in view as its box
// changes too.
function desenhaPainel(raiz, emVista) {
  const desenhados = arquivos.map(desenhaArquivo);
  const vigia = new ResizeObserver(() =>
    emVista().forEach(([arquivo, linha]) => mantemVisivel(arquivo.caixa, linha)),
  );
  for (const { figura, caixa } of desenhados) {
    raiz.append(figura);
    vigia.observe(caixa);
  }
  return desenhados;
}

// The panel, shown or hidden for the visit as the record says: nothing is stored. It
// is drawn when the page is idle after ESPERA_PELO_PAINEL, or at the first step if
// that comes first, so that the program's first prompt never waits for it.
export function criaCodigo(raiz, licao) {
  const funcoes = arquivos[1].funcoes;
  let marcadas = [];
  let emVista = []; // the step's lines
  let desenhados = null;
  const desenha = () => (desenhados ??= desenhaPainel(raiz, () => emVista));
  setTimeout(() => requestIdleCallback(desenha), ESPERA_PELO_PAINEL);

  // The lines of a step: in the evaluation and in the stack.
  const linhasDo = (passo) => {
    const [avaliacao, pilha] = desenha();
    return passo
      ? [
          [avaliacao, avaliacao.linhas.get(passo.linha)],
          [pilha, pilha.linhas.get(funcoes[FUNCAO_DA_PILHA[passo.acao]])],
        ].filter(([, linha]) => linha)
      : [];
  };

  // The step's lines marked, those of the step before faintly.
  function marca() {
    const { passos, mostrado } = licao;
    for (const linha of marcadas) {
      linha.classList.remove("atual", "antes");
      linha.removeAttribute("aria-current");
    }
    const antes = linhasDo(passos[mostrado - 1]);
    const atuais = linhasDo(passos[mostrado]);
    antes.forEach(([, linha]) => linha.classList.add("antes"));
    for (const [arquivo, linha] of atuais) {
      linha.classList.replace("antes", "atual") || linha.classList.add("atual");
      linha.setAttribute("aria-current", "step");
      if (!raiz.hidden) {
        mantemVisivel(arquivo.caixa, linha);
      }
    }
    emVista = atuais;
    marcadas = [...antes, ...atuais].map(([, linha]) => linha);
  }

  licao.observa((mudou) => {
    if (mudou.has("codigo")) {
      raiz.hidden = !licao.codigo;
    }
    if (mudou.has("mostrado")) {
      marca();
    }
  });
}
