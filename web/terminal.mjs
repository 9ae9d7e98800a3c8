// The page's terminal: xterm.js shows what the program writes, and reads the lines
// it asks for through the readline addon, with the keys of the native editor.
import { Terminal } from "@xterm/xterm";
import { FitAddon } from "@xterm/addon-fit";
import { Readline } from "xterm-readline";
import { History } from "xterm-readline/lib/history.js";

const ENTER = "\r";
const CTRL_C = "\x03";
const CTRL_D = "\x04";
const CTRL_W = "\x17";
const APAGA = ["\x7f", "\b"];

// One key from a place in the text: a run of printable characters whole (a paste
// goes to the editor in one piece, in linear time), an escape sequence, or one
// character.
const TECLA = /[^\x00-\x1f\x7f]+|\x1b(\[[0-?]*[ -/]*[@-~]|O.|.)?|./suy;

// The escape sequences the addon understands (arrows, Home, End, Delete); any other,
// F4 among them, does nothing, as at the console.
const DO_EDITOR = new Set(["A", "B", "C", "D", "F", "H", "3~"].map((fim) => "\x1b[" + fim));
const HISTORIA = new Set(["\x1b[A", "\x1b[B"]);

// What the native editor takes for a word, for Ctrl-W.
const PALAVRA = /[\p{L}\p{N}*?_\-.[\]~=]*[^\p{L}\p{N}*?_\-.[\]~=]*$/u;

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

// The addon keeps its history in the browser's localStorage; the page stores
// nothing, and does not even open it.
History.prototype.restoreFromLocalStorage = () => {};
History.prototype.saveToLocalStorage = () => {};

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

// The addon, given the terminal with its input in the page's hands: it reads only
// the keys handed to it by `entrega`. History holds expressions only.
function criaEditor(terminal) {
  const editor = new Readline();
  let entrega = () => {};
  let teclaDoEditor = () => true;
  editor.activate(
    Object.create(terminal, {
      onData: { value: (ouvinte) => ((entrega = ouvinte), { dispose() {} }) },
      attachCustomKeyEventHandler: { value: (tratador) => (teclaDoEditor = tratador) },
    }),
  );
  const historia = { guarda: false };
  const acrescenta = editor.history.append.bind(editor.history);
  editor.history.append = (linha) => historia.guarda && linha !== "" && acrescenta(linha);
  // Ctrl-C with text selected copies it, and Tab goes on to the rest of the page, as
  // these keys do elsewhere in the browser.
  terminal.attachCustomKeyEventHandler((evento) => {
    const copia = evento.ctrlKey && evento.key === "c" && terminal.hasSelection();
    return !copia && evento.key !== "Tab" && teclaDoEditor(evento);
  });
  return { editor, entrega: (tecla) => entrega(tecla), historia };
}

// The line with the text from `inicio` to the cursor taken out, redrawn whole.
function apagaAte(editor, inicio) {
  const { state } = editor;
  const { buf, pos } = state.line;
  state.line.update(buf.slice(0, inicio) + buf.slice(pos), inicio);
  state.editing = true;
  state.refresh();
}

// Backspace takes one whole character, wide or combining; Ctrl-W the word before
// the cursor, as the native editor has them.
function edita(editor, tecla) {
  const antes = editor.state.line.pos_buffer();
  if (tecla === CTRL_W) {
    apagaAte(editor, antes.search(PALAVRA));
  } else if (antes !== "") {
    const letras = [...new Intl.Segmenter().segment(antes)];
    apagaAte(editor, letras.at(-1).index);
  }
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

// One line through the addon. Ctrl-D on an empty line is the end of input (null);
// elsewhere it deletes the character under the cursor, and nothing at the end.
async function leComEditor(terminal, teclado, leitura, prompt, expressao) {
  const { editor, entrega, historia, parseado } = leitura;
  const corte = prompt.lastIndexOf("\n") + 1; // the addon draws one line of prompt
  if (corte > 0) {
    terminal.write(prompt.slice(0, corte));
  }
  historia.guarda = expressao;
  const linha = editor.read(prompt.slice(corte));
  await new Promise((pronto) => terminal.write("", pronto)); // the prompt is parsed
  parseado();
  for (;;) {
    const tecla = await teclado.proxima();
    if (tecla === CTRL_C || (tecla === CTRL_D && editor.getLine() === "")) {
      return tecla;
    }
    if (tecla === CTRL_W || APAGA.includes(tecla)) {
      edita(editor, tecla);
    } else if (expressao || !HISTORIA.has(tecla)) {
      if (!tecla.startsWith("\x1b") || DO_EDITOR.has(tecla)) {
        entrega(tecla);
      }
    }
    if (tecla === ENTER) {
      return (await linha) + "\n";
    }
  }
}

// The terminal, as the program's page entry (pagina.cpp) and the page use it;
// `aoInterromper` is told when Ctrl-C ends the dialogue.
export function abreTerminal(elemento, aoInterromper = () => {}) {
  const terminal = criaTerminal(elemento);
  const utf8 = new TextEncoder();
  let resto = new Uint8Array(); // a line's bytes the program has not taken yet
  let emDialogo = true;
  let interrompido = false; // by Ctrl-C: the program writes nothing more

  // As the native program ends on Ctrl-C: at once, what it still has to say unsaid,
  // what was typed ahead dropped; a read in course wakes up to end.
  function interrompe() {
    if (emDialogo && !interrompido) {
      interrompido = true;
      terminal.write("^C\r\n");
      teclado.esvazia();
      teclado.tecle(CTRL_C);
      aoInterromper();
    }
  }
  const teclado = criaTeclado(terminal, interrompe);
  const primeiro = primeiroPrompt(terminal);
  const editor = { ...criaEditor(terminal), parseado: primeiro.parseado };
  let retidas = null; // what the program wrote while held back, in order

  const solta = () => {
    retidas?.forEach((bytes) => interrompido || terminal.write(bytes));
    retidas &&= [];
  };

  return {
    terminal,

    // Settled once the first prompt has been drawn.
    promptMostrado: primeiro.mostrado,

    escreve(bytes) {
      if (interrompido) {
        return;
      }
      if (retidas) {
        retidas.push(bytes);
      } else {
        terminal.write(bytes);
      }
    },

    // While a question waits, what the program writes must not show: `retem(true)`
    // holds it back, `solta` writes out what is held, `retem(false)` that and stops.
    retem(sim) {
      if (sim) {
        retidas ??= [];
      } else {
        solta();
        retidas = null;
      }
    },
    solta,

    async leLinha(prompt, expressao, capacidade) {
      solta(); // a prompt comes after all that was written before it
      if (resto.length === 0 && !interrompido) {
        const linha = await leComEditor(terminal, teclado, editor, prompt, expressao);
        resto = linha === CTRL_D || linha === CTRL_C ? null : utf8.encode(linha);
      }
      if (interrompido || resto === null) {
        resto = new Uint8Array();
        return null;
      }
      const parte = resto.subarray(0, capacidade);
      resto = resto.subarray(parte.length);
      return parte;
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
      resto = new Uint8Array();
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
