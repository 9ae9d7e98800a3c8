// The page's terminal: xterm.js shows what the program writes, and a line editor of
// the page's own, on xterm.js's public API alone, reads the lines it asks for with
// the keys of the native editor.
import { Terminal } from "@xterm/xterm";
import { FitAddon } from "@xterm/addon-fit";

const ENTER = "\r";
const CTRL_C = "\x03";
const CTRL_D = "\x04";
const CSI = "\x1b[";

// One key from a place in the text: a run of printable characters whole (a paste
// goes to the editor in one piece, in linear time), an escape sequence, or one
// character.
const TECLA = /[^\x00-\x1f\x7f]+|\x1b(\[[0-?]*[ -/]*[@-~]|O.|.)?|./suy;

// What the native editor takes for a word, for Ctrl-W.
const PALAVRA = /[\p{L}\p{N}*?_\-.[\]~=]*[^\p{L}\p{N}*?_\-.[\]~=]*$/u;

// Backspace takes what a reader sees as one character, wide or combining.
const LETRAS = new Intl.Segmenter();

// The terminal's own words, for screen readers, in the page's language.
Terminal.strings.promptLabel = "Entrada do terminal";
Terminal.strings.tooMuchOutput =
  "Saída demais para ler em voz alta: percorra as linhas do terminal.";

const ESCURO = { background: "#1e1e1e", foreground: "#e8e8e8", cursor: "#e8e8e8" };
const CLARO = {
  background: "#ffffff",
  foreground: "#1e1e1e",
  cursor: "#1e1e1e",
  cursorAccent: "#ffffff",
  selectionBackground: "#add6ff",
};

function criaTerminal(elemento) {
  const claro = matchMedia("(prefers-color-scheme: light)");
  const terminal = new Terminal({
    convertEol: true,
    cursorBlink: true,
    fontSize: 16,
    theme: claro.matches ? CLARO : ESCURO,
  });
  claro.addEventListener("change", () => (terminal.options.theme = claro.matches ? CLARO : ESCURO));
  const ajuste = new FitAddon();
  terminal.loadAddon(ajuste);
  terminal.open(elemento);
  ajuste.fit();
  new ResizeObserver(() => ajuste.fit()).observe(elemento);
  // Ctrl-C with text selected copies it, and Tab goes on to the rest of the page, as
  // these keys do elsewhere in the browser.
  terminal.attachCustomKeyEventHandler(
    (evento) =>
      !(evento.ctrlKey && evento.key === "c" && terminal.hasSelection()) && evento.key !== "Tab",
  );
  return terminal;
}

// What was typed or pasted and no read has taken yet. Keys are taken one at a time,
// so that a pasted dialogue is read as if typed line by line. While something else
// holds the keys (`desvia`), they go to it instead; Ctrl-C goes to `interrompe`.
function criaTeclado(terminal, interrompe) {
  let pendente = "";
  let lido = 0;
  let acorda = () => {};
  let desvio = null;
  const guarda = (texto) => {
    pendente = pendente.slice(lido) + texto;
    lido = 0;
    acorda();
  };
  terminal.onData((texto) => {
    if (texto === CTRL_C) {
      interrompe();
    } else {
      (desvio ?? guarda)(texto);
    }
  });
  return {
    async proxima() {
      while (lido === pendente.length) {
        await new Promise((pronto) => (acorda = pronto));
      }
      TECLA.lastIndex = lido;
      const tecla = TECLA.exec(pendente)[0];
      lido += tecla.length;
      return tecla === "\n" ? ENTER : tecla;
    },
    tecle: guarda,
    esvazia() {
      pendente = "";
      lido = 0;
    },
    desvia(trata) {
      desvio = trata;
    },
  };
}

// ---- Editing: what each key does to the text and the cursor ----

// The cursor moves and deletes by code points, as the native editor's does.
const anterior = (texto, pos) =>
  pos - ([...texto.slice(Math.max(pos - 2, 0), pos)].at(-1)?.length ?? 0);
const seguinte = (texto, pos) => pos + ([...texto.slice(pos, pos + 2)][0]?.length ?? 0);
const apagaDesde = (texto, pos, inicio) => [texto.slice(0, inicio) + texto.slice(pos), inicio];
const apagaSob = (texto, pos) => [texto.slice(0, pos) + texto.slice(seguinte(texto, pos)), pos];
const aoComeco = (texto) => [texto, 0];
const aoFim = (texto) => [texto, texto.length];
const apagaLetra = (texto, pos) =>
  apagaDesde(texto, pos, [...LETRAS.segment(texto.slice(0, pos))].at(-1)?.index ?? pos);

// The keys the editor knows, as xterm.js sends them, each giving [text, cursor];
// any other key, F4 and F5 among them, does nothing, as at the console.
const EDICOES = {
  [`${CSI}D`]: (texto, pos) => [texto, anterior(texto, pos)],
  [`${CSI}C`]: (texto, pos) => [texto, seguinte(texto, pos)],
  [`${CSI}H`]: aoComeco,
  "\x01": aoComeco,
  [`${CSI}F`]: aoFim,
  "\x05": aoFim,
  [`${CSI}3~`]: apagaSob,
  [CTRL_D]: apagaSob,
  "\x0b": (texto, pos) => [texto.slice(0, pos), pos],
  "\x15": () => ["", 0],
  "\x17": (texto, pos) => apagaDesde(texto, pos, texto.slice(0, pos).search(PALAVRA)),
  "\x7f": apagaLetra,
  "\b": apagaLetra,
};

// The visit's expressions, oldest first, in memory only; an empty line, or one the
// same as the last, is not kept, as the native editor keeps its history.
function criaHistoria() {
  const linhas = [];
  return {
    guarda(linha) {
      if (linha !== "" && linha !== linhas.at(-1)) {
        linhas.push(linha);
      }
      linhas.splice(0, linhas.length - 500); // the native editor's size
    },
    // Up and Down for one read, as EDICOES has them: past the newest, the line that
    // was being typed comes back.
    teclas() {
      let indice = linhas.length;
      let digitada = "";
      const vai = (para, texto) => {
        if (para < 0 || para > linhas.length) {
          return null;
        }
        digitada = indice === linhas.length ? texto : digitada;
        indice = para;
        const linha = linhas[indice] ?? digitada;
        return [linha, linha.length];
      };
      return {
        [`${CSI}A`]: (texto) => vai(indice - 1, texto),
        [`${CSI}B`]: (texto) => vai(indice + 1, texto),
      };
    },
  };
}

// ---- Drawing the line ----

// The terminal lays the line out, and the editor reads back from its cells where each
// character landed, so that it knows what xterm.js knows of widths, combining marks
// and wrapping: in its map, `linhas[i]` and `colunas[i]` are the row (from the line's
// first) and the column of the cell holding code unit i, a combining mark held by the
// cell of the character it joins; `fim` is the place past the last.

// Gives the code units from `de.indice` up to `limite` the cells holding them, read
// from the buffer's row `absoluta` (the line's row `de.linha`), column `de.coluna`,
// up to the buffer's place `ate`, cell by cell, as only the cells tell how many units
// each took: a wide character's second half holds none, nor does the cell that one
// left empty at a row's end when it did not fit.
function le(terminal, mapa, de, absoluta, limite, ate) {
  const buffer = terminal.buffer.active;
  let { indice, linha, coluna } = de;
  let lida = buffer.getLine(absoluta);
  let celula;
  while (indice < limite && lida && (absoluta < ate.linha || coluna < ate.coluna)) {
    if (coluna >= terminal.cols) {
      [linha, coluna, lida] = [linha + 1, 0, buffer.getLine(++absoluta)];
      continue;
    }
    const esta = lida.getCell(coluna, celula);
    celula = esta ?? celula;
    for (let n = esta?.getChars().length ?? 0; n > 0 && indice < limite; n--, indice++) {
      mapa.linhas[indice] = linha;
      mapa.colunas[indice] = coluna;
    }
    coluna += esta?.getWidth() || 1;
  }
}

// Code units no cell was found holding (a character the terminal did not keep) are
// put at the line's end, so that every place of the text has one on the screen.
function preenche(mapa, tamanho) {
  for (let i = mapa.linhas.length; i < tamanho; i++) {
    mapa.linhas[i] = mapa.fim.linha;
    mapa.colunas[i] = mapa.fim.coluna;
  }
}

// The first code unit on row `linha` or after it, and where that row starts: a
// drawing starts at a row's start, so that a mark joining the cell before it finds it.
function comecoDaLinha(mapa, linha, inicio) {
  let [de, ate] = [0, mapa.linhas.length];
  while (de < ate) {
    const meio = (de + ate) >> 1;
    [de, ate] = mapa.linhas[meio] < linha ? [meio + 1, ate] : [de, meio];
  }
  return { indice: de, linha, coluna: linha === 0 ? inicio : 0 };
}

// Where the cursor stands before code unit `indice`: on its cell, or past the cell
// when the unit is not the cell's first (a combining mark), where the native editor,
// counting columns, puts it; the cell's width is read from the buffer, whose cursor is
// at the line's place `aqui`.
function lugar(terminal, mapa, aqui, indice) {
  const { linhas, colunas } = mapa;
  if (indice >= linhas.length) {
    return mapa.fim;
  }
  const [linha, coluna] = [linhas[indice], colunas[indice]];
  if (indice === 0 || linhas[indice - 1] !== linha || colunas[indice - 1] !== coluna) {
    return { linha, coluna };
  }
  const buffer = terminal.buffer.active;
  const absoluta = buffer.baseY + buffer.cursorY - aqui.linha + linha;
  const celula = absoluta < 0 ? undefined : buffer.getLine(absoluta)?.getCell(coluna);
  const seguinte = coluna + (celula?.getWidth() || 1);
  return seguinte < terminal.cols ? { linha, coluna: seguinte } : { linha: linha + 1, coluna: 0 };
}

// The cursor taken from one place of the line to another, in rows from the line's
// first and columns.
function leva(de, para) {
  const linhas = para.linha - de.linha;
  const vertical = linhas < 0 ? `${CSI}${-linhas}A` : linhas > 0 ? `${CSI}${linhas}B` : "";
  return `${vertical}${CSI}${para.coluna + 1}G`;
}

// How many code units two texts share from their start, a surrogate pair whole.
function comum(a, b) {
  let n = 0;
  while (n < a.length && a[n] === b[n]) {
    n++;
  }
  return n > 0 && /[\ud800-\udbff]/.test(a[n - 1]) ? n - 1 : n;
}

// Settles once the terminal has taken the text in: its buffer and cursor are then
// what the text made them.
const escrito = (terminal, texto) => new Promise((pronto) => terminal.write(texto, pronto));

// Draws `texto`, the whole line, anew from the place `de` (a row's start) on, the
// cursor being at `aqui`, and reads back where it landed; gives where the cursor is
// then. A long text goes in pieces, each taking at most half the rows the buffer
// keeps (a code unit takes two cells at most), so that the row each reading starts
// from, marked, is still in it.
async function reescreve(terminal, mapa, texto, de, aqui) {
  const { cols, rows } = terminal;
  const pedaco = Math.max(cols, Math.floor((cols * (terminal.options.scrollback + rows)) / 4));
  const inicio = de.linha === 0 ? de.coluna : 0; // where the line's first row starts, if drawn
  let saida = `${leva(aqui, de)}${CSI}J`;
  for (let feito = de.indice; saida || feito < texto.length; saida = "") {
    let ate = Math.min(feito + pedaco, texto.length);
    ate -= ate < texto.length && /[\ud800-\udbff]/.test(texto[ate - 1]) ? 1 : 0;
    const marca = terminal.registerMarker(de.linha - aqui.linha);
    await escrito(terminal, saida + texto.slice(feito, ate));
    if (marca.isDisposed) {
      // A resize came in between: the drawing it brings draws the line anew.
      terminal.write(texto.slice(ate));
      return aqui;
    }
    const buffer = terminal.buffer.active;
    const cursor = { linha: buffer.baseY + buffer.cursorY, coluna: buffer.cursorX };
    aqui = { linha: de.linha + cursor.linha - marca.line, coluna: cursor.coluna };
    mapa.linhas.length = mapa.colunas.length = de.indice;
    le(terminal, mapa, de, marca.line, ate, cursor);
    marca.dispose();
    feito = ate;
    // The next piece is read from the start of this one's last row: a mark it begins
    // with joins the cell before.
    de = comecoDaLinha(mapa, aqui.linha, inicio);
  }
  return aqui;
}

// The line taken to start at the start of a row, the cursor's place on it `cursor`,
// nothing of it read yet.
function recomeca(terminal, estado, cursor) {
  estado.comeco.dispose();
  estado.comeco = terminal.registerMarker(-cursor.linha);
  [estado.inicio, estado.aqui] = [0, cursor];
  estado.mapa = { linhas: [], colunas: [], fim: { linha: 0, coluna: 0 } };
}

// One drawing of the line: `texto` with the cursor before its unit `pos`. The rows
// from the first that changed are written, and read back once laid out; then the
// cursor is placed. The cursor's row on the screen tells how many of the line's rows
// are still on it.
async function pinta(terminal, estado, texto, pos, inteira) {
  const { prompt, linha } = estado;
  const [antes, depois] = [prompt + linha.texto, prompt + texto];
  let visivel = Math.max(estado.aqui.linha - terminal.buffer.active.cursorY, 0); // first shown
  if (inteira || antes !== depois) {
    const muda = inteira ? 0 : comum(antes, depois);
    const desde = Math.max(muda > 0 ? estado.mapa.linhas[muda - 1] : 0, visivel);
    let de = comecoDaLinha(estado.mapa, desde, estado.inicio);
    if (de.indice > depois.length) {
      // What is left of the line lies in rows no longer shown: it starts anew on
      // the first row shown.
      recomeca(terminal, estado, { ...estado.aqui, linha: estado.aqui.linha - visivel });
      [visivel, de] = [0, comecoDaLinha(estado.mapa, 0, 0)];
    }
    const aqui = await reescreve(terminal, estado.mapa, depois, de, estado.aqui);
    estado.mapa.fim = aqui.coluna < terminal.cols ? aqui : { linha: aqui.linha + 1, coluna: 0 };
    preenche(estado.mapa, depois.length);
    estado.aqui = aqui;
  }
  let aqui = estado.aqui;
  let alvo = lugar(terminal, estado.mapa, aqui, prompt.length + pos);
  // A line that fills its last row leaves the cursor at the start of the next, as
  // the native editor does: the terminal is made to wrap there.
  let saida = aqui.coluna < terminal.cols ? "" : " \r";
  aqui = saida ? estado.mapa.fim : aqui;
  const mostrada = Math.max(visivel, aqui.linha - terminal.rows + 1);
  alvo = alvo.linha < mostrada ? { linha: mostrada, coluna: 0 } : alvo;
  saida += alvo.linha === aqui.linha && alvo.coluna === aqui.coluna ? "" : leva(aqui, alvo);
  [estado.aqui, linha.texto, linha.pos] = [alvo, texto, pos];
  if (saida && !estado.fechada) {
    await escrito(terminal, saida);
  }
}

// The line being read, the prompt's last line and the text after it, drawn from
// column `inicio` of the cursor's row.
function criaLinha(terminal, prompt, inicio) {
  const estado = {
    prompt,
    inicio,
    linha: { texto: "", pos: 0 },
    mapa: { linhas: [], colunas: [], fim: { linha: 0, coluna: inicio } },
    aqui: { linha: 0, coluna: inicio }, // the cursor
    comeco: terminal.registerMarker(0), // the line's first row, wherever the buffer moves it
    fechada: false, // ended: the rows below are the program's
  };
  let fila = Promise.resolve();
  // Drawings, a window's resize among them, go in order, and none once it is ended.
  const desenha = (texto, pos, inteira) =>
    (fila = fila.then(() => estado.fechada || pinta(terminal, estado, texto, pos, inteira)));
  const redesenha = () => desenha(estado.linha.texto, estado.linha.pos, true);
  const fecha = () => {
    estado.fechada = true;
    estado.comeco.dispose();
  };
  return {
    linha: estado.linha,
    desenha,
    redesenha,
    // A resize: the line drawn anew. Rows before the cursor's may have been laid out
    // again in the new width, moving it: its row is counted from the line's first.
    ajusta() {
      fila = fila.then(() => {
        const { baseY, cursorY, cursorX } = terminal.buffer.active;
        if (!estado.fechada && !estado.comeco.isDisposed) {
          estado.aqui = { linha: baseY + cursorY - estado.comeco.line, coluna: cursorX };
        }
      });
      return redesenha();
    },
    // Ctrl-L: the screen cleared, the line drawn again at its top.
    limpa() {
      fila = fila.then(() => escrito(terminal, `${CSI}H${CSI}2J`));
      fila = fila.then(() => recomeca(terminal, estado, { linha: 0, coluna: 0 }));
      return redesenha();
    },
    // Ctrl-C: `escreve` (`^C`) once the drawing in course has placed the cursor, where
    // the terminal writes it.
    encerra(escreve) {
      fila = fila.then(() => {
        fecha();
        escreve();
      });
    },
    fecha,
  };
}

// The first prompt's frame, once: the frame after the prompt was parsed, which draws
// it. What the first prompt does not need waits for it: screen readers get the
// terminal's rows then, since setting them up lays out every row.
function primeiroPrompt(terminal) {
  let mostra;
  const mostrado = new Promise((pronto) => (mostra = pronto));
  mostrado.then(() => (terminal.options.screenReaderMode = true));
  let pedido = false;
  const parseado = () => {
    if (!pedido) {
      pedido = true;
      requestAnimationFrame(() => setTimeout(mostra));
    }
  };
  return { mostrado, parseado };
}

// A key that edits: printable text goes in at the cursor, whole.
function edita(editor, teclas, tecla) {
  const { texto, pos } = editor.linha;
  const novo = /^[^\x00-\x1f\x7f]/.test(tecla)
    ? [texto.slice(0, pos) + tecla + texto.slice(pos), pos + tecla.length]
    : teclas[tecla]?.(texto, pos);
  return novo && editor.desenha(...novo);
}

// One line through the editor; Up and Down recall expressions at the expression
// prompt only. Ctrl-D on an empty line is the end of input; elsewhere it deletes the
// character under the cursor, and nothing at the end.
async function leComEditor(terminal, teclado, leitura, prompt, expressao) {
  const corte = prompt.lastIndexOf("\n") + 1; // the editor draws the last line
  await escrito(terminal, prompt.slice(0, corte));
  const editor = criaLinha(terminal, prompt.slice(corte), terminal.buffer.active.cursorX);
  const { linha } = editor;
  const teclas = expressao ? { ...EDICOES, ...leitura.historia.teclas() } : EDICOES;
  leitura.atual = editor;
  await editor.redesenha();
  leitura.parseado();
  try {
    for (;;) {
      const tecla = await teclado.proxima();
      if (tecla === CTRL_C || (tecla === CTRL_D && linha.texto === "")) {
        return tecla;
      }
      if (tecla === ENTER) {
        await editor.desenha(linha.texto, linha.texto.length);
        editor.fecha();
        terminal.write("\r\n");
        if (expressao) {
          leitura.historia.guarda(linha.texto);
        }
        return linha.texto + "\n";
      }
      await (tecla === "\x0c" ? editor.limpa() : edita(editor, teclas, tecla));
    }
  } finally {
    editor.fecha();
    leitura.atual = null;
  }
}

// What the program writes, written out unless `calado()` (after Ctrl-C it writes
// nothing more). While a question waits, it must not show: `retem(true)` holds it
// back, `solta` writes out what is held, `retem(false)` that and stops.
function criaSaida(terminal, calado) {
  let retidas = null; // what the program wrote while held back, in order
  const solta = () => {
    retidas?.forEach((bytes) => calado() || terminal.write(bytes));
    retidas &&= [];
  };
  return {
    escreve(bytes) {
      if (calado()) {
        return;
      }
      if (retidas) {
        retidas.push(bytes);
      } else {
        terminal.write(bytes);
      }
    },
    retem(sim) {
      if (sim) {
        retidas ??= [];
      } else {
        solta();
        retidas = null;
      }
    },
    solta,
  };
}

// The lines the program reads, `le(prompt, expressao)` giving each, handed over in
// parts of at most `capacidade` bytes; null at the end of input, and after Ctrl-C.
function criaEntrada(le, interrompido) {
  const utf8 = new TextEncoder();
  let resto = new Uint8Array(); // a line's bytes the program has not taken yet
  return {
    async leLinha(prompt, expressao, capacidade) {
      if (resto.length === 0 && !interrompido()) {
        const linha = await le(prompt, expressao);
        resto = linha === CTRL_D || linha === CTRL_C ? null : utf8.encode(linha);
      }
      if (interrompido() || resto === null) {
        resto = new Uint8Array();
        return null;
      }
      const parte = resto.subarray(0, capacidade);
      resto = resto.subarray(parte.length);
      return parte;
    },
    esvazia() {
      resto = new Uint8Array();
    },
  };
}

// The terminal, as the program's page entry (pagina.cpp) and the page use it;
// `aoInterromper` is told when Ctrl-C ends the dialogue.
export function abreTerminal(elemento, aoInterromper = () => {}) {
  const terminal = criaTerminal(elemento);
  let emDialogo = true;
  let interrompido = false; // by Ctrl-C: the program writes nothing more

  // As the native program ends on Ctrl-C: at once, what it still has to say unsaid,
  // what was typed ahead dropped; a read in course wakes up to end.
  function interrompe() {
    if (emDialogo && !interrompido) {
      interrompido = true;
      const escreve = () => terminal.write("^C\r\n");
      leitura.atual ? leitura.atual.encerra(escreve) : escreve();
      teclado.esvazia();
      teclado.tecle(CTRL_C);
      aoInterromper();
    }
  }
  const teclado = criaTeclado(terminal, interrompe);
  const primeiro = primeiroPrompt(terminal);
  const leitura = { historia: criaHistoria(), parseado: primeiro.parseado, atual: null };
  terminal.onResize(() => leitura.atual?.ajusta());
  const saida = criaSaida(terminal, () => interrompido);
  const entrada = criaEntrada(
    (prompt, expressao) => leComEditor(terminal, teclado, leitura, prompt, expressao),
    () => interrompido,
  );

  return {
    terminal,

    // Settled once the first prompt has been drawn.
    promptMostrado: primeiro.mostrado,

    ...saida,

    leLinha(prompt, expressao, capacidade) {
      saida.solta(); // a prompt comes after all that was written before it
      return entrada.leLinha(prompt, expressao, capacidade);
    },

    // Whether the dialogue that ended was ended by Ctrl-C.
    interrompido: () => interrompido,

    // Keys typed from now on go to `trata` instead of the program, until it is null.
    desvia: teclado.desvia,

    // Text typed as if pasted: read by the next prompts, line by line.
    digita: teclado.tecle,

    // Waits for Enter, typed or sent by tecleEnter; what was typed before is dropped,
    // and every other key typed is handed to `outra`.
    async esperaEnter(outra = () => {}) {
      emDialogo = false;
      teclado.esvazia();
      entrada.esvazia();
      let tecla;
      while ((tecla = await teclado.proxima()) !== ENTER) {
        outra(tecla);
      }
      emDialogo = true;
      interrompido = false;
    },

    tecleEnter() {
      teclado.tecle(ENTER);
    },
  };
}
