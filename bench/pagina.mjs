// Measures the course page in headless Chromium: the size of its one file, raw and
// gzipped; its first prompt against the first paint of a minimal HTML page, loaded
// in turn in the same browser (median of RUNS loads each), as a ratio, and beside it
// the first prompt of a page holding nothing but xterm.js, its floor; and how long
// a pasted line of 1,000, 10,000 and 50,000 characters takes to be answered. Given
// another build, its page too, loaded in turn with this one: on a host too busy for
// any ratio to a minimal page to hold still, the two pages' first prompts compared.
// Usage: node bench/pagina.mjs [BUILD-WEB] [RUNS] [OTHER-BUILD-WEB]; the web builds
// must be made first.
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { gzipSync } from "node:zlib";

const pasta = path.resolve(process.argv[2] ?? "build-web");
const rodadas = Number(process.argv[3] ?? 21);
const outra =
  process.argv[4] && path.join(path.resolve(process.argv[4]), "analisar_exp_encad.html");
const arquivo = path.join(pasta, "analisar_exp_encad.html");
const ferramentas = createRequire(path.join(pasta, "web", "x.js"));
const { chromium } = ferramentas("playwright-core");

const bytes = readFileSync(arquivo);
console.log(`page: ${bytes.length} bytes, ${gzipSync(bytes, { level: 9 }).length} gzipped`);

// The plainest page a browser can show: its first paint is the floor of any page.
const temporaria = mkdtempSync(path.join(tmpdir(), "pagina-"));
const minima = path.join(temporaria, "minima.html");
writeFileSync(
  minima,
  '<!doctype html><html lang="pt-BR"><meta charset="utf-8"><title>Analisador</title>' +
    "<p>Analisador de Expressoes</p>",
);

// The same xterm.js, bundled the same way, opened, fitted and given the first
// screen: what no page with this terminal can start faster than.
const { outputFiles } = await ferramentas("esbuild").build({
  stdin: {
    contents:
      'import "@xterm/xterm/css/xterm.css"; import { Terminal } from "@xterm/xterm";' +
      'import { FitAddon } from "@xterm/addon-fit";' +
      "const terminal = new Terminal({ convertEol: true, fontSize: 16 });" +
      "const ajuste = new FitAddon(); terminal.loadAddon(ajuste);" +
      'terminal.open(document.getElementById("terminal")); ajuste.fit(); terminal.focus();' +
      'terminal.write("\\x1b[H\\x1b[2JAnalisador de Expressoes\\n\\nExpressao: ");',
    resolveDir: path.join(pasta, "web"),
  },
  bundle: true,
  minify: true,
  format: "iife",
  target: "es2022",
  outdir: "so",
  write: false,
  logLevel: "warning",
});
const parte = (fim) => outputFiles.find((arquivo) => arquivo.path.endsWith(fim)).text;
const soTerminal = path.join(temporaria, "so_terminal.html");
writeFileSync(
  soTerminal,
  '<!doctype html><html lang="pt-BR"><meta charset="utf-8"><title>Analisador</title>' +
    `<style>${parte(".css")} #terminal { height: 90vh }</style>` +
    `<h1>Analisador de Expressoes</h1><div id="terminal"></div><script>${parte(".js")}</script>`,
);

// On the page's own clock, which starts at navigation: the moment the prompt shows,
// and the first paint.
function anota() {
  new MutationObserver((_, observador) => {
    if (document.querySelector(".xterm-rows")?.textContent.includes("Expressao: ")) {
      window.primeiroPrompt = performance.now();
      observador.disconnect();
    }
  }).observe(document, { subtree: true, childList: true, characterData: true });
  new PerformanceObserver((lista) => {
    window.primeiraPintura ??= lista.getEntriesByName("first-contentful-paint")[0]?.startTime;
  }).observe({ type: "paint", buffered: true });
}

async function carrega(navegador, endereco, marca) {
  const pagina = await navegador.newPage();
  await pagina.addInitScript(anota);
  await pagina.goto(pathToFileURL(endereco).href);
  const tempo = await (await pagina.waitForFunction(marca)).jsonValue();
  await pagina.close();
  return tempo;
}

const mediana = (tempos) => tempos.sort((a, b) => a - b)[Math.floor(tempos.length / 2)];
const faixa = (tempos) => `${tempos[0].toFixed(0)}–${tempos.at(-1).toFixed(0)}`;

// This page's first prompt against the other build's, loaded in turn.
async function contraOutra(navegador) {
  const [nossos, deles] = [[], []];
  for (let vez = 0; vez < rodadas; vez++) {
    nossos.push(await carrega(navegador, arquivo, () => window.primeiroPrompt));
    deles.push(await carrega(navegador, outra, () => window.primeiroPrompt));
  }
  const [nosso, dele] = [mediana(nossos), mediana(deles)];
  console.log(
    `first prompt against ${outra}'s: median ${nosso.toFixed(0)} ms against ` +
      `${dele.toFixed(0)} ms, ratio ${(nosso / dele).toFixed(2)} over ${rodadas} loads each`,
  );
}

async function partida(navegador) {
  const prompts = [];
  const pinturas = [];
  const pisos = [];
  for (let vez = 0; vez < rodadas; vez++) {
    pinturas.push(await carrega(navegador, minima, () => window.primeiraPintura));
    prompts.push(await carrega(navegador, arquivo, () => window.primeiroPrompt));
    pisos.push(await carrega(navegador, soTerminal, () => window.primeiroPrompt));
  }
  const [prompt, pintura, piso] = [mediana(prompts), mediana(pinturas), mediana(pisos)];
  console.log(
    `first prompt: median ${prompt.toFixed(0)} ms (${faixa(prompts)}); minimal page's ` +
      `first paint: median ${pintura.toFixed(0)} ms (${faixa(pinturas)}); ` +
      `ratio ${(prompt / pintura).toFixed(2)} over ${rodadas} loads each; ` +
      `xterm.js alone: median ${piso.toFixed(0)} ms (${faixa(pisos)}), ratio ` +
      `${(piso / pintura).toFixed(2)}`,
  );
}

// One line of `tamanho` characters pasted at the prompt, up to the answer it gets.
async function colagens(navegador) {
  const pagina = await navegador.newPage();
  await pagina.goto(pathToFileURL(arquivo).href);
  await pagina.check('input[value="imediato"]');
  await pagina.focus(".xterm-helper-textarea");
  const tempos = [];
  for (const tamanho of [1000, 10000, 50000]) {
    await pagina.waitForFunction(
      () => document.querySelectorAll(".xterm-rows > div")[2]?.textContent.trim() === "Expressao:",
    );
    tempos.push(
      await pagina.evaluate(
        async (linha) => {
          document.querySelector("#passo").textContent = "";
          const entrada = document.querySelector(".xterm-helper-textarea");
          const dados = new DataTransfer();
          dados.setData("text/plain", linha);
          const inicio = performance.now();
          entrada.dispatchEvent(
            new ClipboardEvent("paste", { clipboardData: dados, bubbles: true }),
          );
          await new Promise((pronto) => {
            const olha = () =>
              document.querySelector("#passo").textContent.includes("recusada")
                ? pronto()
                : requestAnimationFrame(olha);
            olha();
          });
          return performance.now() - inicio;
        },
        "(1+2)".repeat(tamanho / 5) + "\n",
      ),
    );
    await pagina.keyboard.type("s\n");
  }
  await pagina.close();
  console.log(
    "pasted line answered: " +
      tempos
        .map((tempo, i) => `${[1000, 10000, 50000][i]} chars ${tempo.toFixed(0)} ms`)
        .join(", "),
  );
}

const navegador = await chromium.launch({
  executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
  args: ["--disable-background-networking", "--disable-component-update", "--no-first-run"],
});
try {
  await partida(navegador);
  if (outra) {
    await contraOutra(navegador);
  }
  await colagens(navegador);
} finally {
  await navegador.close();
  rmSync(temporaria, { recursive: true });
}
