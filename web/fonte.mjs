// The program's own source as the page shows it, read at build time from src/: the
// functions a step of the evaluation passes through, with their line numbers; the
// constants of the headers (the step codes, the status codes, the classes of a
// character, the limit of a line); and the operators' codes, which the trace line
// prints as characters: so that the page copies none of them.
import { readFile } from "node:fs/promises";
import path from "node:path";

// What the code panel shows of each file, in the file's order. monta.mjs tells the
// build every file read here, for the page to be built again when one changes.
const TRECHOS = {
  "analisar_exp_encad.cpp": [
    "TAVALIACAO",
    "Cria_Pilhas",
    "Empilha",
    "Empilha_E_Exibe",
    "Desempilha",
    "Libera",
    "Aplica_Operador",
    "Trata_Caractere",
    "Avalia_Expressao",
    "Responde_Expressao",
  ],
  "pilha.cpp": ["Cria_Pilha", "Push", "Pop", "destroi_pilha"],
};
const CABECALHOS = ["analisar_exp_encad.hpp", "status.hpp", "expressao.hpp"];

// The lines, 0-based, of the definition of a function or a record at the file's top
// level, from the comment above it to its closing brace.
function definicao(linhas, nome) {
  const inicio = new RegExp(`^[A-Za-z][\\w:<>*& ]*\\b${nome}(\\(| \\{$)`);
  for (let primeira = 0; primeira < linhas.length; primeira++) {
    if (!inicio.test(linhas[primeira])) {
      continue;
    }
    let corpo = primeira;
    while (!linhas[corpo].endsWith("{") && !linhas[corpo].endsWith(";")) {
      corpo++;
    }
    if (linhas[corpo].endsWith(";")) {
      continue; // a declaration
    }
    let ultima = corpo;
    while (!/^}/.test(linhas[ultima])) {
      ultima++;
    }
    let comeco = primeira;
    while (linhas[comeco - 1]?.startsWith("//")) {
      comeco--;
    }
    return { comeco, primeira, ultima };
  }
  throw new Error(`${nome}: no definition found`);
}

// The file's excerpts, each a run of lines from `primeira` (1-based); two excerpts
// that only a blank line parts are one. `funcoes` gives each name's first line.
function trechos(texto, nomes) {
  const linhas = texto.split("\n");
  const achados = nomes.map((nome) => [nome, definicao(linhas, nome)]);
  achados.sort(([, a], [, b]) => a.comeco - b.comeco);
  const juntos = [];
  for (const [, { comeco, ultima }] of achados) {
    const anterior = juntos.at(-1);
    if (anterior && comeco <= anterior.ultima + 2) {
      anterior.ultima = ultima;
    } else {
      juntos.push({ comeco, ultima });
    }
  }
  return {
    trechos: juntos.map(({ comeco, ultima }) => ({
      primeira: comeco + 1,
      linhas: linhas.slice(comeco, ultima + 1),
    })),
    funcoes: Object.fromEntries(achados.map(([nome, { primeira }]) => [nome, primeira + 1])),
  };
}

// Every `constexpr int NAME = VALUE;` of the headers (and of std::size_t, the limit).
function constantes(textos) {
  const achadas = textos.flatMap((texto) => [
    ...texto.matchAll(/^constexpr (?:int|std::size_t) (\w+) = (-?\d+);/gm),
  ]);
  return Object.fromEntries(achadas.map(([, nome, valor]) => [nome, Number(valor)]));
}

// The codes of the `case '…':` labels of E_Operador, the one place of the operator set.
function operadores(texto) {
  const corpo = texto.slice(texto.indexOf("bool E_Operador("));
  const casos = [...corpo.slice(0, corpo.indexOf("\n}")).matchAll(/case '(.)':/g)];
  if (casos.length === 0) {
    throw new Error("E_Operador: no operator found");
  }
  return casos.map(([, caractere]) => caractere.charCodeAt(0));
}

// What the page takes from src/, and `lidos`, the path of every file read.
export async function leFonte(pasta) {
  const lidos = [...Object.keys(TRECHOS), ...CABECALHOS].map((nome) => path.join(pasta, nome));
  const le = (nome) => readFile(path.join(pasta, nome), "utf8");
  const arquivos = [];
  for (const [nome, nomes] of Object.entries(TRECHOS)) {
    arquivos.push({ nome: `src/${nome}`, ...trechos(await le(nome), nomes) });
  }
  const cabecalhos = await Promise.all(CABECALHOS.map(le));
  return {
    arquivos,
    constantes: constantes(cabecalhos),
    operadores: operadores(cabecalhos[CABECALHOS.indexOf("expressao.hpp")]),
    lidos,
  };
}
