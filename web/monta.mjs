// Builds the course page as one HTML file that needs nothing else: the program (its
// WebAssembly in base64, compiled in the page's head), the terminal, the page's
// script and its styles, and the program's own source as it stands in src/
// (fonte.mjs). The script is a plain one, not a module: it runs as soon as it is
// parsed, before the page is first laid out, where a module would wait for a first
// layout and paint of a page without its terminal.
// Usage: node monta.mjs PROGRAM.js FOLDER OUTPUT.html, FOLDER holding the node_modules
// that npm ci installed from package-lock.json. OUTPUT.html.d lists, as a make rule,
// every file the page was made of, for the build to make it again when one changes.
import { readFile, writeFile } from "node:fs/promises";
import { createRequire } from "node:module";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { leFonte } from "./fonte.mjs";

const [programa, pasta, saida] = process.argv.slice(2).map((caminho) => path.resolve(caminho));
const aqui = path.dirname(fileURLToPath(import.meta.url));
const esbuild = createRequire(path.join(pasta, "monta.mjs"))("esbuild");

// The module "fonte" of the page's script: what leFonte read, as JSON.
const { lidos, ...lido } = await leFonte(path.join(aqui, "..", "src"));
const fonte = {
  name: "fonte",
  setup(construcao) {
    construcao.onResolve({ filter: /^fonte$/ }, () => ({ path: "fonte", namespace: "fonte" }));
    construcao.onLoad({ filter: /.*/, namespace: "fonte" }, () => ({
      contents: JSON.stringify(lido),
      loader: "json",
    }));
  },
};

const { outputFiles, metafile } = await esbuild.build({
  entryPoints: [path.join(aqui, "principal.mjs")],
  alias: { programa },
  plugins: [fonte],
  nodePaths: [path.join(pasta, "node_modules")],
  bundle: true,
  minify: true,
  format: "iife",
  target: "es2022",
  outdir: "pagina",
  write: false,
  metafile: true,
  logLevel: "warning",
});
const texto = (fim) => outputFiles.find((arquivo) => arquivo.path.endsWith(fim)).text;

// Function replacements: the bundle may hold "$&" and the like.
const binario = (await readFile(programa.replace(/\.js$/, ".wasm"))).toString("base64");
const modelo = await readFile(path.join(aqui, "pagina.html"), "utf8");
const pagina = modelo
  .replace("<!-- binario -->", () => binario)
  .replace("<!-- estilo -->", () => `<style>${texto(".css")}</style>`)
  .replace("<!-- programa -->", () => `<script>${texto(".js")}</script>`);
await writeFile(saida, pagina);

// Every file the page was made of, as a make rule (spaces escaped), for the build.
const regra = (caminho) => caminho.replaceAll(" ", "\\ ");
const feitoDe = [
  ...Object.keys(metafile.inputs)
    .filter((entrada) => !entrada.includes(":"))
    .map((entrada) => path.resolve(entrada)),
  ...lidos,
  path.join(aqui, "pagina.html"),
  programa.replace(/\.js$/, ".wasm"),
  fileURLToPath(import.meta.url),
  path.join(aqui, "fonte.mjs"),
];
await writeFile(`${saida}.d`, `${regra(saida)}: ${feitoDe.map(regra).join(" ")}\n`);
