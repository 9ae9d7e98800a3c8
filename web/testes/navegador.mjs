// The page as its users get it: the one HTML file opened from disk in headless
// Chromium, typed at, pasted into, watched step by step, and ended and started
// again; it asks for nothing from the network and leaves nothing stored. Usage: node
// navegador.mjs PAGE.html FOLDER, FOLDER holding the page's node_modules; three
// screenshots go beside the page.
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import path from "node:path";
import { after, before, test } from "node:test";
import { pathToFileURL } from "node:url";

const [arquivo, pasta] = process.argv.slice(2).map((caminho) => path.resolve(caminho));
const { chromium } = createRequire(path.join(pasta, "navegador.mjs"))("playwright-core");

let navegador, pagina;
const pedidos = [];
const erros = [];

// The terminal's rows as the user reads them.
const tela = () =>
  pagina.$$eval(".xterm-rows > div", (linhas) =>
    linhas.map((linha) => linha.textContent.trimEnd()),
  );

// The drawing's two stacks, top first: "3 3 | *".
const pilhas = () =>
  pagina.$$eval("[data-pilha] .cadeia", (cadeias) =>
    cadeias
      .map((cadeia) => [...cadeia.querySelectorAll(".valor")].map((valor) => valor.textContent))
      .map((valores) => valores.join(" ") || "vazia")
      .join(" | "),
  );
const contador = () => pagina.textContent("#contador");
const imagem = (nome) => pagina.screenshot({ path: path.join(path.dirname(arquivo), nome) });

async function ritmo(valor) {
  await pagina.check(`input[value="${valor}"]`);
  await pagina.focus(".xterm-helper-textarea");
}

// Waits until the terminal shows the text, or the notice below it does.
async function espera(texto, onde = ".xterm-rows") {
  await pagina.waitForFunction(
    ([procurado, elemento]) => document.querySelector(elemento).textContent.includes(procurado),
    [texto, onde],
    { timeout: 5000 },
  );
}

// Waits for a new cycle: the screen cleared, and the prompt on its third row.
async function novoCiclo() {
  await pagina.waitForFunction(
    () => document.querySelectorAll(".xterm-rows > div")[2]?.textContent.trimEnd() === "Expressao:",
    null,
    { timeout: 5000 },
  );
}

async function digita(...teclas) {
  for (const tecla of teclas) {
    await (tecla.length > 1 && !/[()]/.test(tecla)
      ? pagina.keyboard.press(tecla)
      : pagina.keyboard.type(tecla));
  }
}

async function cola(texto) {
  await pagina.evaluate((colado) => {
    const dados = new DataTransfer();
    dados.setData("text/plain", colado);
    const evento = new ClipboardEvent("paste", {
      clipboardData: dados,
      bubbles: true,
      cancelable: true,
    });
    document.querySelector(".xterm-helper-textarea").dispatchEvent(evento);
  }, texto);
}

before(async () => {
  navegador = await chromium.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    args: ["--disable-background-networking", "--disable-component-update", "--no-first-run"],
  });
  pagina = await navegador.newPage({ viewport: { width: 900, height: 640 } });
  pagina.on("request", (pedido) => pedidos.push(pedido.url()));
  pagina.on("console", (mensagem) => mensagem.type() === "error" && erros.push(mensagem.text()));
  pagina.on("pageerror", (erro) => erros.push(erro.message));
  await pagina.goto(pathToFileURL(arquivo).href);
  await ritmo("imediato");
});

after(async () => {
  await navegador?.close();
});

test("an expression answers with the console's trace lines", async () => {
  await novoCiclo();
  await digita("((1+2)*3)", "Enter");
  await espera("Continua [S/N]? ");
  assert.deepEqual((await tela()).slice(0, 11), [
    "Analisador de Expressoes",
    "",
    "Expressao: ((1+2)*3)",
    "Pilha 1: 1",
    "Pilha 2: +",
    "Pilha 1: 21",
    "Pilha 2: *",
    "Pilha 1: 33",
    "",
    "Resposta: 9",
    "",
  ]);
  await imagem("analisar_exp_encad.png");
});

test("Up recalls the expression, and the edited line answers", async () => {
  await digita("s", "Enter");
  await novoCiclo();
  await digita("ArrowUp", "ArrowLeft", "Backspace", "4", "Enter");
  await espera("Resposta: 12");
  assert.equal((await tela())[2], "Expressao: ((1+2)*4)");
});

test("step by step, the drawing follows every push and pop and waits for its key", async () => {
  await digita("s", "Enter");
  await novoCiclo();
  await ritmo("passo");
  await digita("((1+2)*3)", "Enter");
  const vistos = [];
  for (;;) {
    const passo = `Passo ${vistos.length + 1} de ${vistos.length + 1}`;
    await pagina.waitForFunction(
      (texto) =>
        document.querySelector("#contador").textContent === texto ||
        document.querySelector(".xterm-rows").textContent.includes("Resposta"),
      passo,
    );
    if ((await contador()) !== passo) {
      break;
    }
    assert.ok(!(await tela()).includes("Resposta: 9"), "the evaluation did not wait");
    vistos.push(await pilhas());
    await digita("Enter");
  }
  await espera("Continua [S/N]? ");
  const esperados = [
    "1 | vazia",
    "1 | +",
    "2 1 | +",
    "3 | vazia",
    "3 | *",
    "3 3 | *",
    "9 | vazia",
    "vazia | vazia",
  ];
  // In this order, one or more keys apart, and nothing after the last.
  let achados = 0;
  for (const visto of vistos) {
    achados += visto === esperados[achados] ? 1 : 0;
  }
  assert.equal(achados, esperados.length, vistos.join("; "));
  assert.equal(vistos.at(-1), "vazia | vazia");
  // Back and forth, without touching the dialogue.
  await pagina.focus("#desenho");
  await digita("Home");
  const revistos = [await pilhas()];
  while ((await contador()) !== `Passo ${vistos.length} de ${vistos.length}`) {
    await digita("ArrowRight");
    revistos.push(await pilhas());
  }
  assert.deepEqual(revistos, vistos);
  await digita(...Array(7).fill("ArrowLeft"));
  assert.equal(await pilhas(), vistos.at(-8));
  await imagem("analisar_exp_encad_pilhas.png");
  await ritmo("imediato");
});

// "Prever": the question that waits, its feedback, and what is seen meanwhile.
const pergunta = async () => {
  await pagina.waitForSelector("#resposta", { state: "visible", timeout: 10000 });
  const tracos = (await tela()).filter((linha) => linha.startsWith("Pilha")).length;
  return {
    pilhas: await pilhas(),
    tracos,
    foco: await pagina.evaluate(() => document.activeElement.id),
  };
};
const retorno = () => pagina.textContent("#retorno");
const responde = (palpite) => pagina.keyboard.type(palpite).then(() => digita("Enter"));

test("Prever asks at each ')' and at the end, and shows nothing before the answer", async () => {
  await digita("s", "Enter");
  await novoCiclo();
  await ritmo("prever");
  await digita("((1+2)*(3+4))", "Enter");
  // At each question: the stacks before it, the trace lines written so far, the answers.
  const perguntas = [
    ["2 1 | +", 3, ["5", "3"]],
    ["4 3 3 | + *", 7, ["7"]],
    ["7 3 | *", 7, ["21"]],
    ["21 | vazia", 7, ["21"]],
  ];
  for (const [antes, tracos, palpites] of perguntas) {
    assert.deepEqual(await pergunta(), { pilhas: antes, tracos, foco: "palpite" });
    for (const palpite of palpites.slice(0, -1)) {
      await responde(palpite);
      assert.match(await retorno(), new RegExp(`^Não é ${palpite}\\. `));
      assert.deepEqual(await pergunta(), { pilhas: antes, tracos, foco: "palpite" });
      await pagina.setViewportSize({ width: 1280, height: 900 });
      await imagem("analisar_exp_encad_prever.png");
      await pagina.setViewportSize({ width: 900, height: 640 });
    }
    await responde(palpites.at(-1));
    assert.match(await retorno(), /^Certo! /);
    assert.ok(await pagina.isHidden("#resposta"));
    assert.equal(
      await pagina.evaluate(() => document.activeElement.className),
      "xterm-helper-textarea",
    );
  }
  assert.equal(await retorno(), "Certo! 21 sai do topo da pilha 1.");
  await espera("Resposta: 21");
  assert.equal(await pagina.textContent("#acertos"), "Acertos: 3 de 4");
});

test("Prever: a failure answered by its button, reached by Tab; a memory limit", async () => {
  const casos = [
    ["((8/0)+1)", "", 3, 4, "ERRO: Divisao por 0", "4 de 5"],
    ["((1+2)*3)", "2", 2, 5, "ERRO: Pilha Cheia", "5 de 6"],
  ];
  for (const [expressao, memoria, tracos, tabs, erro, acertos] of casos) {
    await digita("s", "Enter");
    await novoCiclo();
    await pagina.selectOption("#memoria", memoria);
    await pagina.focus(".xterm-helper-textarea");
    await digita(expressao, "Enter");
    assert.equal((await pergunta()).tracos, tracos);
    await digita(...Array(tabs).fill("Tab"));
    assert.equal(await pagina.evaluate(() => document.activeElement.textContent), erro.slice(6));
    await digita("Enter");
    await espera(erro);
    assert.match(await retorno(), /^Certo! /);
    assert.equal(await pagina.textContent("#acertos"), `Acertos: ${acertos}`);
  }
  await pagina.selectOption("#memoria", "");
  await ritmo("imediato");
});

test("two pasted lines are read as typed, and n ends the dialogue", async () => {
  await digita("s", "Enter");
  await novoCiclo();
  await cola("(4/2)\nn\n");
  await espera("Fim do diálogo", "#aviso");
  await espera("Continua [S/N]? n"); // the terminal draws at its own pace
  const linhas = await tela();
  assert.equal(linhas[2], "Expressao: (4/2)");
  assert.ok(linhas.includes("Resposta: 2"));
  assert.ok(linhas.includes("Continua [S/N]? n"));
  assert.ok(await pagina.isVisible("#recomeca"));
});

test("Enter starts the dialogue again, and Ctrl-D ends it", async () => {
  await digita("Enter");
  await novoCiclo();
  assert.equal(await pagina.textContent("#aviso"), "");
  assert.ok(await pagina.isHidden("#recomeca"));
  await digita("Control+d");
  await espera("Fim do diálogo", "#aviso");
  await pagina.click("#recomeca");
  await novoCiclo();
});

test("nothing asked of the network, nothing stored, no error", async () => {
  assert.deepEqual(pedidos, [pathToFileURL(arquivo).href]);
  assert.deepEqual(erros, []);
  const guardado = await pagina.evaluate(async () => [
    localStorage.length,
    sessionStorage.length,
    document.cookie,
    (await indexedDB.databases()).length,
  ]);
  assert.deepEqual(guardado, [0, 0, "", 0]);
});
