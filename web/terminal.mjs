// The page's terminal: xterm.js shows what the program writes, and reads the lines
// it asks for: expressions through the readline addon, answers as a terminal in line
// mode reads them.
import { Terminal } from "@xterm/xterm";
import { FitAddon } from "@xterm/addon-fit";
import { Readline } from "xterm-readline";

const ENTER = "\r";
const CTRL_D = "\x04";
const APAGA = ["\x7f", "\b"];

// One key from the front of the text: an escape sequence whole, or one character.
const TECLA = /^(\x1b(\[[0-?]*[ -/]*[@-~]|O.|.)?|.)/su;

// The escape sequences the addon understands (arrows, Home, End, Delete); any other,
// F4 among them, does nothing, as at the console.
const DO_EDITOR = new Set(["A", "B", "C", "D", "F", "H", "3~"].map((fim) => "\x1b[" + fim));

function criaTerminal(elemento) {
  const terminal = new Terminal({
    convertEol: true,
    cursorBlink: true,
    fontSize: 16,
    theme: { background: "#1e1e1e", foreground: "#e8e8e8", cursor: "#e8e8e8" },
  });
  const ajuste = new FitAddon();
  terminal.loadAddon(ajuste);
  terminal.open(elemento);
  new ResizeObserver(() => ajuste.fit()).observe(elemento);
  ajuste.fit();
  return terminal;
}

// What was typed or pasted and no read has taken yet. Keys are taken one at a time,
// so that a pasted dialogue is read as if typed line by line.
function criaTeclado(terminal) {
  let pendente = "";
  let acorda = () => {};
  const recebe = (texto) => {
    pendente += texto;
    acorda();
  };
  terminal.onData(recebe);
  return {
    async proxima() {
      while (pendente === "") {
        await new Promise((pronto) => (acorda = pronto));
      }
      const tecla = TECLA.exec(pendente)[0];
      pendente = pendente.slice(tecla.length);
      return tecla === "\n" ? ENTER : tecla;
    },
    tecle: recebe,
    esvazia() {
      pendente = "";
    },
  };
}

// The addon, given the terminal with its input in the page's hands: it reads only
// the keys handed to it by `entrega`.
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
  historiaSoNaMemoria(editor.history);
  // Ctrl-C with text selected copies it, and Tab goes on to the rest of the page, as
  // these keys do elsewhere in the browser.
  terminal.attachCustomKeyEventHandler((evento) => {
    const copia = evento.ctrlKey && evento.key === "c" && terminal.hasSelection();
    return !copia && evento.key !== "Tab" && teclaDoEditor(evento);
  });
  return { editor, entrega };
}

// The addon keeps its history in the browser's localStorage; the page stores
// nothing, and its history lives in memory for the visit. Empty lines are no
// expressions to recall.
function historiaSoNaMemoria(historia) {
  historia.entries = [];
  historia.saveToLocalStorage = () => {};
  const acrescenta = historia.append.bind(historia);
  historia.append = (linha) => linha !== "" && acrescenta(linha);
}

async function leExpressao(terminal, teclado, { editor, entrega }, prompt) {
  const linha = editor.read(prompt);
  await new Promise((pronto) => terminal.write("", pronto)); // the prompt is drawn
  for (;;) {
    const tecla = await teclado.proxima();
    if (tecla === CTRL_D && editor.getLine() === "") {
      return null; // the end of input
    }
    if (!tecla.startsWith("\x1b") || DO_EDITOR.has(tecla)) {
      entrega(tecla);
    }
    if (tecla === ENTER) {
      return (await linha) + "\n";
    }
  }
}

async function leResposta(terminal, teclado, prompt) {
  terminal.write(prompt);
  let linha = "";
  for (;;) {
    const tecla = await teclado.proxima();
    if (tecla === ENTER) {
      terminal.write("\r\n");
      return linha + "\n";
    }
    if (tecla === CTRL_D) {
      return linha === "" ? null : linha; // Ctrl-D hands over what is typed
    }
    if (APAGA.includes(tecla) && linha !== "") {
      linha = Array.from(linha).slice(0, -1).join("");
      terminal.write("\b \b");
    } else if (!/^[\x00-\x1f\x7f]/.test(tecla)) {
      linha += tecla;
      terminal.write(tecla);
    }
  }
}

// The terminal, as the program's page entry (pagina.cpp) and the page use it.
export function abreTerminal(elemento) {
  const terminal = criaTerminal(elemento);
  const teclado = criaTeclado(terminal);
  const editor = criaEditor(terminal);
  const utf8 = new TextEncoder();
  let resto = new Uint8Array(); // a line's bytes the program has not taken yet
  let retidas = null; // what the program wrote while held back, in order

  const solta = () => {
    retidas?.forEach((bytes) => terminal.write(bytes));
    retidas &&= [];
  };

  return {
    terminal,

    escreve(bytes) {
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
      if (resto.length === 0) {
        const linha = await (expressao
          ? leExpressao(terminal, teclado, editor, prompt)
          : leResposta(terminal, teclado, prompt));
        if (linha === null) {
          return null;
        }
        resto = utf8.encode(linha);
      }
      const parte = resto.subarray(0, capacidade);
      resto = resto.subarray(parte.length);
      return parte;
    },

    // Waits for Enter, typed or sent by tecleEnter; what was typed before is dropped.
    async esperaEnter() {
      teclado.esvazia();
      resto = new Uint8Array();
      while ((await teclado.proxima()) !== ENTER) {}
    },

    tecleEnter() {
      teclado.tecle(ENTER);
    },
  };
}
