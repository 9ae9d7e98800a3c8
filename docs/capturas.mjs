// Takes the screenshots of the page that README.md and LEIAME.md show, from a build,
// in the Chromium of the page's tests: the page at a projector's size with the code
// beside the drawing, a question of "Prever" answered with a mistake it names, and the page on a phone.
// Usage: node docs/capturas.mjs BUILD, BUILD the web build's folder (build-web).
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { lancaNavegador, usa } from "../web/testes/pagina.mjs";

const construcao = path.resolve(process.argv[2] ?? "build-web");
const pagina = pathToFileURL(path.join(construcao, "analisar_exp_encad.html")).href;
const docs = path.dirname(fileURLToPath(import.meta.url));

// Each screenshot: its file, the window, the link it opens, and how it gets there.
const capturas = [
  {
    nome: "pagina.png",
    janela: { width: 1600, height: 900 },
    link: "#e=((1%2B2)*3)&ritmo=de-uma-vez&passo=5",
    async prepara(aba) {
      await aba.espera("Passo 5 de", "#contador");
      await aba.locator("#codigo .linha[aria-current]").first().waitFor();
      await aba.terminal(); // the link left the focus on the drawing
    },
  },
  {
    nome: "pagina_prever.png",
    janela: { width: 1600, height: 1200 },
    link: "#ritmo=prever",
    async prepara(aba) {
      await aba.novoCiclo();
      await aba.digita("((7-2)*(3+4))", "Enter");
      await aba.locator("#palpite").fill("-5"); // the operands swapped: a mistake named
      await aba.digita("Enter");
      await aba.espera("Não é -5.", "#retorno");
    },
  },
  {
    nome: "pagina_estreita.png",
    janela: { width: 375, height: 667 },
    link: "#e=((1%2B2)*3)&ritmo=de-uma-vez",
    prepara: (aba) => aba.espera("Continua [S/N]? "),
  },
];

const navegador = await lancaNavegador(path.join(construcao, "web"));
try {
  for (const { nome, janela, link, prepara } of capturas) {
    const aba = usa(await navegador.newPage({ viewport: janela }));
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
