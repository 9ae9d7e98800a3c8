// Takes the screenshots of the page that README.md and LEIAME.md show, from a build,
// in Debian's headless Chromium: the page at a projector's size with the code beside
// the drawing, a question of "Prever", and the page on a phone.
// Usage: node docs/capturas.mjs BUILD, BUILD the web build's folder (build-web).
import { createRequire } from "node:module";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const construcao = path.resolve(process.argv[2] ?? "build-web");
const pagina = pathToFileURL(path.join(construcao, "analisar_exp_encad.html")).href;
const docs = path.dirname(fileURLToPath(import.meta.url));
const { chromium } = createRequire(path.join(construcao, "web", "capturas.mjs"))(
  "playwright-core",
);

const linhas = (aba) => aba.locator(".xterm-rows");

// Each screenshot: its file, the window, the link it opens, and how it gets there.
const capturas = [
  {
    nome: "pagina.png",
    janela: { width: 1600, height: 900 },
    link: "#e=((1%2B2)*3)&ritmo=de-uma-vez&passo=5",
    async prepara(aba) {
      await aba.waitForFunction(() => /^Passo 5 de \d+$/.test(contador.textContent));
      await aba.locator("#codigo .linha[aria-current]").first().waitFor();
      await aba.focus(".xterm-helper-textarea"); // the link left it on the drawing
    },
  },
  {
    nome: "pagina_prever.png",
    janela: { width: 1600, height: 1200 },
    link: "#ritmo=prever",
    async prepara(aba) {
      await linhas(aba).getByText("Expressao:").waitFor();
      await aba.keyboard.type("((1+2)*(3+4))");
      await aba.keyboard.press("Enter");
      await aba.locator("#palpite").fill("5");
      await aba.keyboard.press("Enter");
      await aba.locator("#retorno").getByText("Não é 5.").waitFor();
    },
  },
  {
    nome: "pagina_estreita.png",
    janela: { width: 375, height: 667 },
    link: "#e=((1%2B2)*3)&ritmo=de-uma-vez",
    async prepara(aba) {
      await linhas(aba).getByText("Continua [S/N]?").waitFor();
    },
  },
];

const navegador = await chromium.launch({
  executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
  args: ["--disable-background-networking", "--disable-component-update", "--no-first-run"],
});
try {
  for (const { nome, janela, link, prepara } of capturas) {
    const aba = await navegador.newPage({ viewport: janela });
    await aba.goto(pagina + link);
    await prepara(aba);
    // At the top of the page, and of the drawing.
    await aba.evaluate(() => {
      document.querySelector("#desenho").scrollTop = 0;
      window.scrollTo(0, 0);
    });
    await aba.screenshot({ path: path.join(docs, nome) });
    console.log(path.join(docs, nome));
    await aba.close();
  }
} finally {
  await navegador.close();
}
