// The page as its users get it: the one HTML file opened from disk in headless
// Chromium, typed at, pasted into, watched step by step, ended and started again,
// and opened at the links a teacher hands out; it asks for nothing from the network
// and leaves nothing stored. Usage: node navegador.mjs PAGE.html FOLDER, FOLDER
// holding the page's node_modules; the screenshots go beside the page.
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import path from "node:path";
import { after, before, test } from "node:test";
import { pathToFileURL } from "node:url";

const [arquivo, pasta] = process.argv.slice(2).map((caminho) => path.resolve(caminho));
const { chromium } = createRequire(path.join(pasta, "navegador.mjs"))("playwright-core");

let navegador, pagina;
let abertas = 0;
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

async function nadaGuardado() {
  const guardado = await pagina.evaluate(async () => [
    localStorage.length,
    sessionStorage.length,
    document.cookie,
    (await indexedDB.databases()).length,
  ]);
  assert.deepEqual(guardado, [0, 0, "", 0]);
}

// A new page of the same browser, opened at a link's fragment, in place of the last.
async function abre(fragmento, viewport = { width: 900, height: 640 }) {
  if (pagina) {
    await nadaGuardado();
    await pagina.close();
  }
  pagina = await navegador.newPage({ viewport });
  abertas++;
  pagina.on("request", (pedido) => pedidos.push(pedido.url()));
  pagina.on("console", (mensagem) => mensagem.type() === "error" && erros.push(mensagem.text()));
  pagina.on("pageerror", (erro) => erros.push(erro.message));
  await pagina.goto(pathToFileURL(arquivo).href + fragmento);
}

before(async () => {
  navegador = await chromium.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    args: ["--disable-background-networking", "--disable-component-update", "--no-first-run"],
  });
  await abre("");
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

test("a link opens its expression answered, at its step in review", async () => {
  await abre("#e=((1%2B2)*3)&passo=5&ritmo=de-uma-vez");
  await espera("Resposta: 9");
  await pagina.waitForFunction(() => /^Passo 5 de \d+$/.test(contador.textContent));
  assert.equal((await tela())[2], "Expressao: ((1+2)*3)");
  assert.equal(await pilhas(), "1 | +");
  assert.ok(await pagina.isHidden("#aviso-do-link"));
});

test("Copiar link gives the step shown, in a field where the clipboard refuses", async () => {
  await pagina.focus("#desenho");
  await digita("End", "ArrowLeft", "ArrowLeft", "ArrowLeft");
  const [passo, visto] = [await contador(), await pilhas()];
  const copia = (aceita) =>
    pagina.evaluate(async (aceita) => {
      navigator.clipboard.writeText = async (texto) => {
        if (!aceita) throw new DOMException("recusado", "NotAllowedError");
        window.copiado = texto;
      };
      document.querySelector("#copiar-link").click();
      await new Promise((pronto) => setTimeout(pronto));
      const campo = document.querySelector("#link");
      return [window.copiado, campo.value, document.activeElement === campo && campo.selectionEnd];
    }, aceita);
  const [, campo, selecionado] = await copia(false);
  assert.match(campo, /#e=\(\(1%2B2\)\*3\)&ritmo=de-uma-vez&passo=\d+$/);
  assert.equal(selecionado, campo.length);
  assert.deepEqual((await copia(true)).slice(0, 2), [campo, campo]);
  await abre(new URL(campo).hash);
  await pagina.waitForFunction((texto) => contador.textContent === texto, passo);
  assert.equal(await pilhas(), visto);
});

test("a list of exercises, one at a time, with the student's own in between", async () => {
  await abre("#e=(1%2B2)&e=(4*5)&e=(9/3)&ritmo=de-uma-vez");
  await espera("Resposta: 3");
  const proximo = async (ordem, expressao, resposta) => {
    await pagina.click("#proximo-exercicio");
    await espera(`Expressao: ${expressao}`);
    await espera(resposta);
    assert.equal(await pagina.textContent("#exercicio"), `Exercício ${ordem} de 3`);
  };
  assert.equal(await pagina.textContent("#exercicio"), "Exercício 1 de 3");
  await proximo(2, "(4*5)", "Resposta: 20");
  await digita("s", "Enter");
  await novoCiclo();
  await digita("(2-1)", "Enter");
  await espera("Resposta: 1");
  await proximo(3, "(9/3)", "Resposta: 3");
  assert.equal(await pagina.textContent("#proximo-exercicio"), "Lista concluída");
  assert.ok(await pagina.isDisabled("#proximo-exercicio"));
});

test("a bad link breaks nothing and says which part it did not understand", async () => {
  const casos = [
    ["#e=(1%2B2)" + "0".repeat(50), "ERRO: Expressao muito Longa", null],
    ["#e=%ZZ%E0&passo=-3", null, "e=%ZZ%E0; passo=-3."],
    ["#e=(1%2B2)%0An&ritmo=de-uma-vez&cor=1", "Resposta: 3", "sem controles); cor=1."],
    ["#e=((<img src=x onerror=window.x=1>%2B1)*2)&ritmo=de-uma-vez", "Resposta: 4", null],
  ];
  for (const [fragmento, resposta, ignorado] of casos) {
    await abre(fragmento);
    await (resposta ? espera(resposta) : novoCiclo());
    await (resposta && espera("Continua [S/N]? "));
    assert.ok(await pagina.isHidden("#recomeca"), "the dialogue goes on");
    const aviso =
      (await pagina.isVisible("#aviso-do-link")) && (await pagina.textContent("#aviso-do-link"));
    assert.ok(ignorado ? aviso.includes(ignorado) : aviso === false, `${fragmento}: ${aviso}`);
  }
  const markup = "((<img src=x onerror=window.x=1>+1)*2)";
  await espera(`Expressao: ${markup}`);
  assert.equal(await pagina.textContent("#expressao"), markup);
  assert.deepEqual(await pagina.evaluate(() => [document.images.length, window.x]), [0, undefined]);
});

test("embedded, the terminal and the drawing fit a frame of 800 by 500", async () => {
  await abre("#embutido=1&e=((1%2B2)*3)&ritmo=de-uma-vez", { width: 800, height: 500 });
  await espera("Resposta: 9");
  const medida = await pagina.evaluate(() => [
    document.documentElement.scrollWidth,
    document.documentElement.scrollHeight,
    ...["#terminal", "#desenho", "#proximo"].map((id) => {
      const caixa = document.querySelector(id).getBoundingClientRect();
      return caixa.height > 0 && caixa.bottom <= innerHeight;
    }),
  ]);
  assert.deepEqual(medida, [800, 500, true, true, true]);
  assert.ok(await pagina.isHidden("#copiar-link"));
  assert.ok(await pagina.getByRole("main", { name: "Analisador de Expressoes" }).isVisible());
  assert.match(await pagina.title(), /^Analisador de Expressoes/);
  await imagem("analisar_exp_encad_embutido.png");
});

test("nothing asked of the network, nothing stored, no error", async () => {
  assert.deepEqual(pedidos, Array(abertas).fill(pathToFileURL(arquivo).href));
  assert.deepEqual(erros, []);
  await nadaGuardado();
});
