// The page driven as a user drives it, in Debian's headless Chromium (never a
// downloaded browser): typed at, pasted into, read and waited on. The tests use it,
// and so does docs/capturas.mjs.
import { createRequire } from "node:module";
import path from "node:path";

// Chromium, through the playwright-core that npm ci installed into FOLDER.
export function lancaNavegador(pasta) {
  const { chromium } = createRequire(path.join(pasta, "pagina.mjs"))("playwright-core");
  return chromium.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    args: ["--disable-background-networking", "--disable-component-update", "--no-first-run"],
  });
}

// What is asked of a page, beside playwright's own.
const metodos = {
  // The terminal's rows as the user reads them.
  tela() {
    return this.$$eval(".xterm-rows > div", (linhas) => linhas.map((l) => l.textContent.trimEnd()));
  },
  // The drawing's two stacks, top first: "3 3 | *".
  pilhas() {
    return this.$$eval("[data-pilha] .cadeia", (cadeias) =>
      cadeias
        .map((cadeia) => [...cadeia.querySelectorAll(".valor")].map((valor) => valor.textContent))
        .map((valores) => valores.join(" ") || "vazia")
        .join(" | "),
    );
  },
  contador() {
    return this.textContent("#contador");
  },
  terminal() {
    return this.focus(".xterm-helper-textarea");
  },
  // Until the terminal shows the text, or the element named does.
  espera(texto, onde = ".xterm-rows") {
    return this.waitForFunction(
      ([procurado, elemento]) => document.querySelector(elemento).textContent.includes(procurado),
      [texto, onde],
      { timeout: 5000 },
    );
  },
  // Until a new cycle: the screen cleared, and the prompt on its third row.
  novoCiclo() {
    return this.waitForFunction(
      () =>
        document.querySelectorAll(".xterm-rows > div")[2]?.textContent.trimEnd() === "Expressao:",
      null,
      { timeout: 5000 },
    );
  },
  // Keys by their names, text as typed.
  async digita(...teclas) {
    for (const tecla of teclas) {
      const nome = tecla.length > 1 && !/[()]/.test(tecla);
      await (nome ? this.keyboard.press(tecla) : this.keyboard.type(tecla));
    }
  },
  // A line typed, and its answer awaited.
  async linha(texto, ate = "Continua [S/N]? ") {
    await this.digita(texto, "Enter");
    await this.espera(ate);
  },
  // `s` at the continue prompt, and the next prompt.
  async seguinte() {
    await this.digita("s", "Enter");
    await this.novoCiclo();
  },
  cola(texto) {
    return this.evaluate((colado) => {
      const clipboardData = new DataTransfer();
      clipboardData.setData("text/plain", colado);
      const evento = new ClipboardEvent("paste", { clipboardData, bubbles: true });
      document.querySelector(".xterm-helper-textarea").dispatchEvent(evento);
    }, texto);
  },
};

// A playwright page with the methods above.
export const usa = (pagina) => Object.assign(pagina, metodos);
