// Measures the course page: the size of its one file, raw and gzipped, and the time
// from navigation to the first prompt in headless Chromium (median of RUNS loads).
// Usage: node bench/pagina.mjs [BUILD-WEB] [RUNS]; the web build must be made first.
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { gzipSync } from "node:zlib";

const pasta = path.resolve(process.argv[2] ?? "build-web");
const rodadas = Number(process.argv[3] ?? 21);
const arquivo = path.join(pasta, "analisar_exp_encad.html");
const { chromium } = createRequire(path.join(pasta, "web", "x.js"))("playwright-core");

const bytes = readFileSync(arquivo);
console.log(`page: ${bytes.length} bytes, ${gzipSync(bytes, { level: 9 }).length} gzipped`);

// The moment the prompt shows, on the page's own clock, which starts at navigation.
function anotaOPrompt() {
  new MutationObserver((_, observador) => {
    if (document.querySelector(".xterm-rows")?.textContent.includes("Expressao: ")) {
      window.primeiroPrompt = performance.now();
      observador.disconnect();
    }
  }).observe(document, { subtree: true, childList: true, characterData: true });
}

const navegador = await chromium.launch({
  executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
  args: ["--disable-background-networking", "--disable-component-update", "--no-first-run"],
});
const tempos = [];
for (let vez = 0; vez < rodadas; vez++) {
  const pagina = await navegador.newPage();
  await pagina.addInitScript(anotaOPrompt);
  await pagina.goto(pathToFileURL(arquivo).href);
  tempos.push(await (await pagina.waitForFunction(() => window.primeiroPrompt)).jsonValue());
  await pagina.close();
}
await navegador.close();
tempos.sort((a, b) => a - b);
const mediana = tempos[Math.floor(tempos.length / 2)];
console.log(
  `first prompt: median ${mediana.toFixed(0)} ms over ${rodadas} loads ` +
    `(fastest ${tempos[0].toFixed(0)}, slowest ${tempos.at(-1).toFixed(0)})`,
);
