// The page as its users get it: the one HTML file opened from disk in headless
// Chromium, typed at, pasted into, watched step by step, ended and started again,
// and opened at the links a teacher hands out; it asks for nothing from the network
// and leaves nothing stored. Usage: node navegador.mjs PAGE.html FOLDER, FOLDER
// holding the page's node_modules; the screenshots and the printouts go beside the
// page.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { writeFile } from "node:fs/promises";
import { createRequire } from "node:module";
import path from "node:path";
import { after, before, test } from "node:test";
import { fileURLToPath, pathToFileURL } from "node:url";

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

// A file of src/, as the page was built from it: line n at index n.
const fonte = (nome) => {
  const raiz = path.join(path.dirname(fileURLToPath(import.meta.url)), "..", "..");
  return ["", ...readFileSync(path.join(raiz, "src", nome), "utf8").split("\n")];
};

// The lines the code panel marks as the step's: file, number, text, coloured tokens.
const marcadas = () =>
  pagina.$$eval("#codigo .linha[aria-current]", (linhas) =>
    linhas.map((linha) => [
      linha.closest("figure").querySelector("figcaption").textContent,
      Number(linha.querySelector(".numero").textContent),
      linha.querySelector(".texto").textContent,
      linha.querySelectorAll(".token").length,
    ]),
  );

// The page printed to PDF, as its text, one form feed per page. Seen as printed, the
// page hides the terminal, which loses the focus: it is given it back.
async function imprime(nome) {
  const pdf = path.join(path.dirname(arquivo), nome);
  await pagina.emulateMedia({ media: "print" });
  await pagina.pdf({ path: pdf, format: "A4" });
  await pagina.emulateMedia({ media: "screen" });
  await pagina.focus(".xterm-helper-textarea");
  return execFileSync("pdftotext", ["-layout", pdf, "-"], { encoding: "utf8" });
}

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

test("step by step, Enter in the terminal goes on, other keys reach no prompt", async () => {
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
    if ((await tela()).includes("Resposta: 9")) {
      break;
    }
    vistos.push(await pilhas());
    if (vistos.length === 2) {
      assert.equal(await pagina.textContent(".nodo.novo .marca"), "novo");
      await digita("n");
      await espera("Enter ou Espaço", "#aviso");
    }
    await digita(vistos.length % 2 ? "Enter" : " ");
  }
  await espera("Continua [S/N]? ");
  assert.deepEqual(vistos.slice(0, 8), [
    "vazia | vazia",
    "1 | vazia",
    "1 | +",
    "2 1 | +",
    "1 | +",
    "vazia | +",
    "vazia | vazia",
    "3 | vazia",
  ]);
  assert.equal(await pilhas(), "vazia | vazia");
  assert.ok(await pagina.isDisabled("#proximo"));
  assert.ok(await pagina.evaluate(() => document.activeElement.matches(".xterm-helper-textarea")));
  // Back and forth, without touching the dialogue.
  await pagina.focus("#desenho");
  const ultimo = await contador();
  await digita("Home");
  assert.equal(await pilhas(), "vazia | vazia"); // the stacks as created
  await digita("ArrowRight");
  assert.equal(await pilhas(), "1 | vazia");
  await digita("End");
  assert.equal(await contador(), ultimo);
  await imagem("analisar_exp_encad_pilhas.png");
  await pagina.focus(".xterm-helper-textarea");
  assert.ok((await tela()).includes("Continua [S/N]?"), "the key typed in the wait was an answer");
});

test("a pace chosen while a step waits applies at once", async () => {
  await digita("s", "Enter");
  await novoCiclo();
  await digita("(8/2)", "Enter");
  await espera("Passo 1 de 1", "#contador");
  await pagina.check('input[value="imediato"]');
  await espera("Resposta: 4");
  await pagina.focus(".xterm-helper-textarea");
});

test("a refused line clears the drawing, and says so", async () => {
  await digita("s", "Enter");
  await novoCiclo();
  await digita("((1+2)", "Enter");
  await espera("recusada", "#passo");
  assert.equal(await pilhas(), "vazia | vazia");
  assert.equal(await pagina.textContent("#expressao"), "");
  // The terminal's rows reach the accessibility tree a moment after the screen.
  const sessao = await pagina.context().newCDPSession(pagina);
  let nomes = "";
  // The code panel holds that text too: the terminal's rows are told by what follows.
  const linhas = /Erro: Expressao Invalida\n+Continua \[S\/N\]\?/;
  for (let vez = 0; vez < 20 && !linhas.test(nomes); vez++) {
    await pagina.waitForTimeout(100);
    const { nodes } = await sessao.send("Accessibility.getFullAXTree");
    nomes = nodes.map((no) => no.name?.value ?? "").join("\n");
  }
  assert.match(nomes, linhas);
  assert.match(nomes, /Entrada do terminal/);
});

test("Ctrl-W, and Backspace over wide and combining characters, as the native editor", async () => {
  await digita("s", "Enter");
  await novoCiclo();
  await digita("((1+2)*3)", "Control+w");
  await pagina.waitForFunction(
    () => !document.querySelector(".xterm-rows").textContent.includes("*"),
  );
  await digita("*4)", "Enter");
  await espera("Resposta: 12");
  await cola("日本e\u0301");
  await espera("日本");
  await digita("Backspace", "Backspace", "s", "Control+d");
  await espera("Continua [S/N]? 日s");
  await digita("Enter");
  await novoCiclo();
  await digita("(1+1)", "Enter");
  await espera("Continua [S/N]? ");
});

test("the editor's other keys, a line over the width, and the history", async () => {
  const casos = [
    ["(1+2)", ["Home", "Control+d", "Delete", "End", "Control+a", "x", "Control+e", "y"], "x+2)y"],
    ["(1+2)", ["ArrowLeft", "ArrowLeft", "Control+k", "F4", "F5"], "(1+"],
    ["(1+2)", ["ArrowLeft", "Control+u", "7"], "7"],
    [`${"日".repeat(40)}x`, ["Home", "Delete"], `${"日".repeat(39)}x`],
    // A mark joining the cell before, and one that xterm.js gives a cell of its own.
    [`${"e\u0301".repeat(60)}x`, ["ArrowLeft", "Backspace"], `${"e\u0301".repeat(59)}x`],
    [`${"a\u1ab0".repeat(30)}x`, ["Home", "x"], `x${"a\u1ab0".repeat(30)}x`],
    ["(9", ["ArrowUp"], "(1+1)"], // neither answers nor empty lines are in the history
    ["(9", ["ArrowUp", "ArrowDown"], "(9"],
  ];
  for (const [colado, teclas, linha] of casos) {
    await digita("s", "Enter");
    await novoCiclo();
    await cola(colado);
    await digita(...teclas);
    // The line's rows, with nothing left below them, once the terminal has drawn them.
    const esperada = `Expressao: ${linha}`;
    const mostra = (texto) =>
      [...document.querySelectorAll(".xterm-rows > div")]
        .slice(2)
        .map((linhaDaTela) => linhaDaTela.textContent.trimEnd())
        .join("") === texto;
    await pagina.waitForFunction(mostra, esperada, { timeout: 5000 }).catch(() => {});
    assert.equal((await tela()).slice(2).join(""), esperada);
    await digita("Control+u", "Enter");
    await espera("Continua [S/N]? ");
  }
  await digita("s", "Enter", "(2*3)", "Enter");
  await espera("Resposta: 6");
  await digita("ArrowUp", "s"); // no history at the answer prompt
  await espera("Continua [S/N]? s");
  await digita("Control+u");
});

test("each step marks the lines of src/ that made it, in the code and in the table", async () => {
  const linhas = { "src/analisar_exp_encad.cpp": fonte("analisar_exp_encad.cpp") };
  linhas["src/pilha.cpp"] = fonte("pilha.cpp");
  // ((1+2)*3): the stacks created, pushes, pops and the releases; the evaluation's
  // call that makes each, and the stack's function that does it.
  const tipos = "CPPPDDDPPPDDDPDLL";
  const chamadas = {
    C: ["Cria_Pilha", "Cria_Pilha"],
    P: ["Empilha", "Push"],
    D: ["Desempilha", "Pop"],
    L: ["Libera", "destroi_pilha"],
  };
  await ritmo("imediato");
  await digita("s", "Enter");
  await novoCiclo();
  await digita("((1+2)*3)", "Enter");
  await espera("Continua [S/N]? ");
  assert.equal(await pagina.locator("#passos tbody tr").count(), tipos.length);
  await pagina.focus("#deslizador");
  await digita("Home");
  let antes = [];
  for (const [indice, tipo] of [...tipos].entries()) {
    assert.equal(await contador(), `Passo ${indice + 1} de ${tipos.length}`);
    const agora = await marcadas();
    assert.deepEqual(
      agora.map(([nome]) => nome),
      ["src/analisar_exp_encad.cpp", "src/pilha.cpp"],
    );
    agora.forEach(([nome, numero, texto, cores], lado) => {
      assert.equal(texto, linhas[nome][numero], `${nome}:${numero}`);
      assert.match(texto, new RegExp(`\\b${chamadas[tipo][lado]}\\w*\\(`), `step ${indice + 1}`);
      assert.ok(cores > 0, "coloured");
    });
    // The step before's lines stay marked, faintly where they are not the step's.
    const vistas = await pagina.$$eval("#codigo .linha.antes, #codigo .linha.atual", (todas) =>
      todas.map((linha) => Number(linha.querySelector(".numero").textContent)),
    );
    assert.ok(antes.every((numero) => vistas.includes(numero)));
    antes = agora.map(([, numero]) => numero);
    assert.equal(
      await pagina.$eval("#passos tr[aria-current]", (linha) => linha.sectionRowIndex),
      indice,
    );
    await digita("ArrowRight");
  }
  assert.equal(await contador(), `Passo ${tipos.length} de ${tipos.length}`);
  await pagina.click("#passos tbody tr:nth-child(5)");
  assert.equal(await contador(), `Passo 5 de ${tipos.length}`);
  // On a projector's screen, the code beside the drawing: the screenshot of the docs.
  await pagina.setViewportSize({ width: 1600, height: 900 });
  await pagina.evaluate(() => {
    document.querySelector("#desenho").scrollTop = 0;
    window.scrollTo(0, 0);
  });
  await imagem("analisar_exp_encad_codigo.png");
  await pagina.setViewportSize({ width: 900, height: 640 });
  await pagina.focus("#passos tbody tr:nth-child(5)");
  await digita("ArrowUp", "ArrowUp", "Enter");
  assert.equal(await contador(), `Passo 3 de ${tipos.length}`);
  await pagina.focus("#deslizador");
  await digita("End");
  assert.equal(await contador(), `Passo ${tipos.length} de ${tipos.length}`);
  await pagina.uncheck("#mostra-codigo");
  assert.ok(await pagina.isHidden("#codigo"));
  await pagina.check("#mostra-codigo");
  assert.ok(await pagina.isVisible("#codigo"));
  await pagina.focus(".xterm-helper-textarea");
});

test("the printout holds the expression and its table, in two A4 pages at most", async () => {
  const texto = await imprime("analisar_exp_encad.pdf");
  assert.match(texto, /Expressão: \(\(1\+2\)\*3\)/);
  assert.match(texto, /Passo +Lido +Posição +O que aconteceu +Pilha 1 +Pilha 2/);
  assert.match(texto, /17 +fim +A pilha 2 é liberada\. A resposta é 9\./);
  assert.doesNotMatch(texto, /Continua|Imprimir|O código/);
  assert.ok(texto.split("\f").length - 1 <= 2);
  // Twenty characters, the longest a handout is made for.
  await digita("s", "Enter");
  await novoCiclo();
  await digita("12(((3+4)*(5-6))/7)8", "Enter");
  await espera("Continua [S/N]? ");
  const longo = await imprime("analisar_exp_encad_longa.pdf");
  assert.match(longo, /32 +fim +A pilha 2 é liberada\. A resposta é 8\./);
  assert.ok(longo.split("\f").length - 1 <= 2, `${longo.split("\f").length - 1} pages`);
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
      // On a projector's screen, the question beside the code: the screenshot of the docs.
      await pagina.setViewportSize({ width: 1600, height: 1200 });
      await pagina.evaluate(() => window.scrollTo(0, 0));
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
  // The list's own keys, which the drawing's step keys leave alone.
  await pagina.focus("#memoria");
  await digita("Home");
  assert.equal(await pagina.inputValue("#memoria"), "");
  await pagina.focus(".xterm-helper-textarea");
  // Skipping to the end shows the question that waits, and asks no other.
  await digita("s", "Enter");
  await novoCiclo();
  await pagina.focus(".xterm-helper-textarea");
  await digita("((1+2)*(3+4))", "Enter");
  await pergunta();
  await pagina.click("#pula");
  await espera("Resposta: 21");
  assert.ok(await pagina.isHidden("#resposta"));
  assert.equal(await pagina.textContent("#acertos"), "Acertos: 5 de 6");
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
  await digita("(1+", "Control+c");
  await espera("Ctrl-C", "#aviso");
  await digita("x");
  await espera("Para começar outro", "#aviso");
  await pagina.click("#recomeca");
  await novoCiclo();
});

// The drawing has a height and its pace can be chosen in every window: a laptop at
// 200%, a phone both ways, a small one, a frame in another page, a laptop, a
// projector.
test("every window shows the drawing and its controls", async () => {
  const janelas = [
    [640, 400, 2],
    [667, 375],
    [375, 667],
    [800, 600],
    [700, 500, 1, "moldura"],
    [1366, 768],
    [1920, 1080],
  ];
  const moldura = path.join(path.dirname(arquivo), "moldura.html");
  await writeFile(moldura, `<iframe src="${path.basename(arquivo)}" width="700" height="500">`);
  for (const [width, height, deviceScaleFactor = 1, emMoldura] of janelas) {
    const janela = await navegador.newPage({ viewport: { width, height }, deviceScaleFactor });
    await janela.goto(pathToFileURL(emMoldura ? moldura : arquivo).href);
    const alvo = emMoldura ? janela.frames()[1] : janela;
    await alvo.click('input[value="passo"]', { timeout: 5000 });
    assert.ok(await alvo.isChecked('input[value="passo"]'), `${width}x${height}`);
    const altura = await alvo.$eval("#desenho", (desenho) => desenho.offsetHeight);
    assert.ok(altura > 300, `${width}x${height}: the drawing is ${altura} px high`);
    if (width === 375) {
      await janela.screenshot({ path: path.join(path.dirname(arquivo), "pagina_estreita.png") });
    }
    await janela.close();
  }
});

// Every text at least 4.5:1 against what lies behind it, in both schemes.
async function menorContraste() {
  return pagina.evaluate(() => {
    const canais = (cor) => cor.match(/[\d.]+/g).map(Number);
    const luz = (cor) => {
      const [r, g, b] = canais(cor)
        .map((c) => c / 255)
        .map((c) => (c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4));
      return 0.2126 * r + 0.7152 * g + 0.0722 * b;
    };
    const fundo = (elemento) => {
      const cor = getComputedStyle(elemento).backgroundColor;
      return canais(cor)[3] === 0 && elemento.parentElement ? fundo(elemento.parentElement) : cor;
    };
    const textos = [...document.querySelectorAll("body *")].filter(
      (elemento) =>
        elemento.checkVisibility() &&
        !elemento.matches(".xterm-char-measure-element") &&
        canais(getComputedStyle(elemento).color)[3] !== 0 &&
        [...elemento.childNodes].some((no) => no.nodeType === 3 && no.textContent.trim()),
    );
    return textos
      .map((elemento) => {
        const [a, b] = [luz(getComputedStyle(elemento).color), luz(fundo(elemento))];
        return [(Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05), elemento.outerHTML.slice(0, 60)];
      })
      .sort((a, b) => a[0] - b[0])[0];
  });
}

// Ends in the light scheme.
async function legivelNosDoisEsquemas() {
  for (const esquema of ["dark", "light"]) {
    await pagina.emulateMedia({ colorScheme: esquema });
    const [razao, onde] = await menorContraste();
    assert.ok(razao >= 4.5, `${esquema}: ${razao.toFixed(2)} at ${onde}`);
  }
}

test("the system's light scheme is honoured, every text readable in both", async () => {
  await legivelNosDoisEsquemas();
  const fundos = await pagina.$$eval("body, .xterm-scrollable-element", (elementos) =>
    elementos.map((elemento) => getComputedStyle(elemento).backgroundColor),
  );
  assert.deepEqual(fundos, ["rgb(255, 255, 255)", "rgb(255, 255, 255)"]);
  await pagina.emulateMedia({ colorScheme: "dark" });
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
  await pagina.uncheck("#mostra-codigo");
  await pagina.selectOption("#memoria", "5");
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
  assert.match(campo, /#e=\(\(1%2B2\)\*3\)&ritmo=de-uma-vez&passo=\d+&codigo=0&memoria=5$/);
  assert.equal(selecionado, campo.length);
  assert.deepEqual((await copia(true)).slice(0, 2), [campo, campo]);
  await abre(new URL(campo).hash);
  await pagina.waitForFunction((texto) => contador.textContent === texto, passo);
  assert.equal(await pilhas(), visto);
  assert.ok(await pagina.isHidden("#codigo"));
  assert.equal(await pagina.inputValue("#memoria"), "5");
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
    await (ignorado && legivelNosDoisEsquemas());
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
