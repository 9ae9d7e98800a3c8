// The page as its users get it: the one HTML file opened from disk in headless
// Chromium, typed at, pasted into, watched step by step, ended and started again,
// opened at the links a teacher hands out, and read by axe-core at three sizes in
// both schemes; it asks for nothing from the network and leaves nothing stored.
// Each test opens pages of its own, so that any of them runs alone, in any order.
// Usage: node navegador.mjs PAGE.html FOLDER, FOLDER holding the page's node_modules;
// the printouts and the frame go to a temporary folder.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import os from "node:os";
import path from "node:path";
import { after, afterEach, before, test } from "node:test";
import { pathToFileURL } from "node:url";
import { lancaNavegador, usa } from "./pagina.mjs";

const [arquivo, pasta] = process.argv.slice(2).map((caminho) => path.resolve(caminho));
const requer = createRequire(path.join(pasta, "navegador.mjs"));
const axe = readFileSync(requer.resolve("axe-core/axe.min.js"), "utf8");
const endereco = pathToFileURL(arquivo).href;
const temporaria = mkdtempSync(path.join(os.tmpdir(), "navegador-"));
const moldura = pathToFileURL(path.join(temporaria, "moldura.html")).href;
writeFileSync(new URL(moldura), `<iframe src="${endereco}" width="700" height="500"></iframe>`);

let navegador;
let abertas = []; // by the test that runs: each page, what it requested, its errors

before(async () => {
  navegador = await lancaNavegador(pasta);
});

after(async () => {
  await navegador?.close();
  rmSync(temporaria, { recursive: true, force: true });
});

// Every page a test opened requested its own files alone, stored nothing, and its
// console showed no error.
afterEach(async () => {
  const paginas = abertas;
  abertas = [];
  for (const { pagina, pedidos, esperados, erros } of paginas) {
    const guardado = await pagina.evaluate(async () => {
      const bancos = (await indexedDB.databases()).length;
      return [localStorage.length, sessionStorage.length, document.cookie, bancos];
    });
    await pagina.close();
    assert.deepEqual([guardado, pedidos, erros], [[0, 0, "", 0], esperados, []]);
  }
});

// A new page at a link's fragment; `emMoldura`, in a frame of 700×500 of another page.
async function abre(fragmento = "", { emMoldura = false, ...janela } = {}) {
  const pagina = await navegador.newPage({ viewport: { width: 900, height: 640 }, ...janela });
  const registro = { pagina, pedidos: [], erros: [] };
  registro.esperados = emMoldura ? [moldura, endereco] : [endereco];
  abertas.push(registro);
  pagina.on("request", (pedido) => registro.pedidos.push(pedido.url()));
  pagina.on("console", (texto) => texto.type() === "error" && registro.erros.push(texto.text()));
  pagina.on("pageerror", (erro) => registro.erros.push(erro.message));
  await pagina.goto(emMoldura ? moldura : endereco + fragmento);
  return usa(pagina);
}

test("an expression answers with its trace lines; the line is edited as natively", async () => {
  const p = await abre("#ritmo=de-uma-vez");
  await p.novoCiclo();
  await p.linha("((1+2)*3)");
  assert.deepEqual((await p.tela()).slice(0, 11), [
    ...["Analisador de Expressoes", "", "Expressao: ((1+2)*3)", "Pilha 1: 1", "Pilha 2: +"],
    ...["Pilha 1: 21", "Pilha 2: *", "Pilha 1: 33", "", "Resposta: 9", ""],
  ]);
  // Up recalls the line, to be edited.
  await p.seguinte();
  await p.digita("ArrowUp", "ArrowLeft", "Backspace", "4");
  await p.linha("", "Resposta: 12");
  assert.equal((await p.tela())[2], "Expressao: ((1+2)*4)");
  // Ctrl-W, and Backspace over wide and combining characters, Ctrl-D at the answer.
  await p.seguinte();
  await p.digita("((1+2)*3)", "Control+w");
  await p.waitForFunction(() => !document.querySelector(".xterm-rows").textContent.includes("*"));
  await p.linha("*4)", "Resposta: 12");
  await p.cola("日本e\u0301");
  await p.espera("日本");
  await p.digita("Backspace", "Backspace", "s", "Control+d");
  await p.espera("Continua [S/N]? 日s");
  await p.digita("Enter");
  await p.novoCiclo();
  await p.linha("(1+1)");
});

test("step by step, Enter and Space go on, other keys reach no prompt; a new pace at once", async () => {
  const p = await abre("#ritmo=passo");
  await p.novoCiclo();
  await p.digita("((1+2)*3)", "Enter");
  const vistos = [];
  for (;;) {
    await p.waitForFunction(
      (texto) =>
        document.querySelector("#contador").textContent === texto ||
        document.querySelector(".xterm-rows").textContent.includes("Resposta"),
      `Passo ${vistos.length + 1} de ${vistos.length + 1}`,
    );
    if ((await p.tela()).includes("Resposta: 9")) {
      break;
    }
    vistos.push(await p.pilhas());
    if (vistos.length === 2) {
      assert.equal(await p.textContent(".nodo.novo .marca"), "novo");
      await p.digita("n");
      await p.espera("Enter ou Espaço", "#aviso");
    }
    await p.digita(vistos.length % 2 ? "Enter" : " ");
  }
  await p.espera("Continua [S/N]? ");
  const primeiros = "vazia | vazia,1 | vazia,1 | +,2 1 | +,1 | +,vazia | +,vazia | vazia,3 | vazia";
  assert.deepEqual(vistos.slice(0, 8), primeiros.split(","));
  assert.equal(await p.pilhas(), "vazia | vazia");
  assert.ok(await p.isDisabled("#proximo"));
  assert.ok(await p.evaluate(() => document.activeElement.matches(".xterm-helper-textarea")));
  // Back and forth, without touching the dialogue.
  await p.focus("#desenho");
  const ultimo = await p.contador();
  await p.digita("Home");
  assert.equal(await p.pilhas(), "vazia | vazia"); // the stacks as created
  await p.digita("ArrowRight");
  assert.equal(await p.pilhas(), "1 | vazia");
  await p.digita("End");
  assert.equal(await p.contador(), ultimo);
  assert.ok((await p.tela()).includes("Continua [S/N]?"), "the key typed in the wait answered");
  // A pace chosen while a step waits applies to it.
  await p.terminal();
  await p.seguinte();
  await p.digita("(8/2)", "Enter");
  await p.espera("Passo 1 de 1", "#contador");
  await p.check('input[value="imediato"]');
  await p.espera("Resposta: 4");
});

test("a refused line clears the drawing, and reaches the accessibility tree", async () => {
  const p = await abre("#e=(1%2B2)&ritmo=de-uma-vez");
  await p.espera("Continua [S/N]? ");
  assert.equal(await p.textContent("#expressao"), "(1+2)");
  await p.seguinte();
  await p.digita("((1+2)", "Enter");
  await p.espera("recusada", "#passo");
  assert.deepEqual([await p.pilhas(), await p.textContent("#expressao")], ["vazia | vazia", ""]);
  // The terminal's rows reach the accessibility tree a moment after the screen.
  const sessao = await p.context().newCDPSession(p);
  let nomes = "";
  // The code panel holds that text too: the terminal's rows are told by what follows.
  const linhas = /Erro: Expressao Invalida\n+Continua \[S\/N\]\?/;
  for (let vez = 0; vez < 20 && !linhas.test(nomes); vez++) {
    await p.waitForTimeout(100);
    const { nodes } = await sessao.send("Accessibility.getFullAXTree");
    nomes = nodes.map((no) => no.name?.value ?? "").join("\n");
  }
  assert.match(nomes, linhas);
  assert.match(nomes, /Entrada do terminal/);
});

// Where each step of ((1+2)*3) is made, a letter for each place: in the evaluation,
// the call (Cria_Pilhas, a digit's push, an operator's, the three pops of a ')', the
// push of its result, the answer's pop, each release); in the stack, the function.
const LUGARES = {
  "src/analisar_exp_encad.cpp": "abcbdefgcbdefghij",
  "src/pilha.cpp": "CPPPDDDPPPDDDPDLL",
};

// Each case: what is pasted, the keys then typed, and the line they leave.
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
  const p = await abre("#ritmo=de-uma-vez");
  await p.novoCiclo();
  await p.linha("(1+1)");
  // The line's rows, with nothing left below them, once the terminal has drawn them.
  const mostra = (texto) =>
    [...document.querySelectorAll(".xterm-rows > div")]
      .slice(2)
      .map((linhaDaTela) => linhaDaTela.textContent.trimEnd())
      .join("") === texto;
  for (const [colado, teclas, linha] of casos) {
    await p.seguinte();
    await p.cola(colado);
    await p.digita(...teclas);
    await p.waitForFunction(mostra, `Expressao: ${linha}`, { timeout: 5000 }).catch(() => {});
    assert.equal((await p.tela()).slice(2).join(""), `Expressao: ${linha}`);
    await p.digita("Control+u");
    await p.linha("");
  }
  await p.seguinte();
  await p.linha("(2*3)", "Resposta: 6");
  await p.digita("ArrowUp", "s"); // no history at the answer prompt
  await p.espera("Continua [S/N]? s");
});

test("a link opens at its step; each step marks a line of each file and a row", async () => {
  const p = await abre("#e=((1%2B2)*3)&passo=5&ritmo=de-uma-vez");
  const total = LUGARES["src/pilha.cpp"].length;
  await p.espera(`Passo 5 de ${total}`, "#contador");
  assert.deepEqual([(await p.tela())[2], await p.pilhas()], ["Expressao: ((1+2)*3)", "1 | +"]);
  assert.ok(await p.isHidden("#aviso-do-link"));
  assert.equal(await p.locator("#passos tbody tr").count(), total);
  await p.focus("#deslizador");
  await p.digita("Home");
  const passos = [];
  for (let indice = 0; indice < total; indice++) {
    const passo = await p.evaluate(() => {
      const numero = (linha) => Number(linha.querySelector(".numero").textContent);
      const marcadas = [...document.querySelectorAll("#codigo .linha[aria-current]")];
      const vistas = document.querySelectorAll("#codigo .linha.antes, #codigo .linha.atual");
      return {
        onde: [contador.textContent, document.querySelector("#passos tr[aria-current]").rowIndex],
        arquivos: marcadas.map((linha) => [
          linha.closest("figure").querySelector("figcaption").textContent,
          linha.querySelectorAll(".token").length > 0, // coloured
        ]),
        numeros: marcadas.map(numero),
        vistas: [...vistas].map(numero),
      };
    });
    // The table's row below its header; one line of each file; the step before's
    // lines still marked, faintly where they are not the step's.
    assert.deepEqual(passo.onde, [`Passo ${indice + 1} de ${total}`, indice + 1]);
    assert.deepEqual(passo.arquivos, Object.keys(LUGARES).map((nome) => [nome, true]));
    assert.ok(passos.at(-1)?.numeros.every((numero) => passo.vistas.includes(numero)) ?? true);
    passos.push(passo);
    await p.digita("ArrowRight");
  }
  // The mark moves with the step: the same place, the same line; another, another.
  const primeiras = (lista) => [...lista].map((item) => [...lista].indexOf(item));
  Object.entries(LUGARES).forEach(([nome, lugares], lado) => {
    const numeros = passos.map((passo) => passo.numeros[lado]);
    assert.deepEqual(primeiras(numeros), primeiras(lugares), nome);
  });
  await p.click("#passos tbody tr:nth-child(5)");
  assert.equal(await p.contador(), `Passo 5 de ${total}`);
  await p.focus("#passos tbody tr:nth-child(5)");
  await p.digita("ArrowUp", "ArrowUp", "Enter");
  assert.equal(await p.contador(), `Passo 3 de ${total}`);
  await p.focus("#deslizador");
  await p.digita("End");
  assert.equal(await p.contador(), `Passo ${total} de ${total}`);
  // The table's box scrolls by the arrows, which go through no step there.
  await p.focus(".tabela");
  await p.digita("ArrowLeft", "Home");
  assert.equal(await p.contador(), `Passo ${total} de ${total}`);
  await p.uncheck("#mostra-codigo");
  assert.ok(await p.isHidden("#codigo"));
  await p.check("#mostra-codigo");
  assert.ok(await p.isVisible("#codigo"));
});

test("the printout holds the expression and its table, in two A4 pages at most", async () => {
  // Twenty characters are the longest a handout is made for.
  const casos = [
    ["((1+2)*3)", /17 +fim +A pilha 2 é liberada\. A resposta é 9\./],
    ["12(((3+4)*(5-6))/7)8", /32 +fim +A pilha 2 é liberada\. A resposta é 8\./],
  ];
  for (const [indice, [expressao, fim]] of casos.entries()) {
    const p = await abre(`#e=${encodeURIComponent(expressao)}&ritmo=de-uma-vez`);
    await p.espera("Continua [S/N]? ");
    const pdf = path.join(temporaria, `impressao${indice}.pdf`);
    await p.emulateMedia({ media: "print" });
    await p.pdf({ path: pdf, format: "A4" });
    const texto = execFileSync("pdftotext", ["-layout", pdf, "-"], { encoding: "utf8" });
    assert.ok(texto.includes(`Expressão: ${expressao}`), texto);
    assert.match(texto, /Passo +Lido +Posição +O que aconteceu +Pilha 1 +Pilha 2/);
    assert.match(texto, fim);
    assert.doesNotMatch(texto, /Continua|Imprimir|O código/);
    assert.ok(texto.split("\f").length - 1 <= 2, `${expressao}: ${texto.split("\f").length - 1}`);
  }
});

// "Prever": the question that waits, and what is seen meanwhile.
async function pergunta(p) {
  await p.waitForSelector("#resposta", { state: "visible", timeout: 10000 });
  return {
    pilhas: await p.pilhas(),
    tracos: (await p.tela()).filter((linha) => linha.startsWith("Pilha")).length,
    foco: await p.evaluate(() => document.activeElement.id),
  };
}

// Prever at its quickest, at the first prompt.
async function prever(p) {
  await p.check('input[value="prever"]');
  await p.fill("#velocidade", "100");
  await p.terminal();
  await p.novoCiclo();
  return p;
}

test("Prever asks at each ')' and at the end, and shows nothing before the answer", async () => {
  const p = await prever(await abre());
  await p.digita("((1+2)*(3+4))", "Enter");
  // At each question: the stacks before it, the trace lines written so far, the answers.
  const perguntas = [
    ["2 1 | +", 3, ["2", "3"]],
    ["4 3 3 | + *", 7, ["7"]],
    ["7 3 | *", 7, ["21"]],
    ["21 | vazia", 7, ["21"]],
  ];
  for (const [antes, tracos, palpites] of perguntas) {
    for (const [vez, palpite] of palpites.entries()) {
      assert.deepEqual(await pergunta(p), { pilhas: antes, tracos, foco: "palpite" });
      await p.keyboard.type(palpite);
      await p.digita("Enter");
      const esperado = vez < palpites.length - 1 ? `Não é ${palpite}. ` : "Certo! ";
      assert.ok((await p.textContent("#retorno")).startsWith(esperado));
    }
    assert.ok(await p.isHidden("#resposta"));
    assert.ok(await p.evaluate(() => document.activeElement.matches(".xterm-helper-textarea")));
  }
  assert.equal(await p.textContent("#retorno"), "Certo! 21 sai do topo da pilha 1.");
  await p.espera("Resposta: 21");
  assert.equal(await p.textContent("#acertos"), "Acertos: 3 de 4");
  const enganos = "Enganos vistos: valor tirado no lugar do resultado: 1.";
  assert.equal(await p.textContent("#enganos"), enganos);
});

test("Prever: a failure answered by its button, reached by Tab; a memory limit; the skip", async () => {
  const p = await prever(await abre());
  const casos = [
    ["((8/0)+1)", "", 3, 4, "ERRO: Divisao por 0", "1 de 1"],
    ["((1+2)*3)", "2", 2, 5, "ERRO: Pilha Cheia", "2 de 2"],
  ];
  for (const [expressao, memoria, tracos, tabs, erro, acertos] of casos) {
    await p.selectOption("#memoria", memoria);
    await p.terminal();
    await p.digita(expressao, "Enter");
    assert.equal((await pergunta(p)).tracos, tracos);
    await p.digita(...Array(tabs).fill("Tab"));
    assert.equal(await p.evaluate(() => document.activeElement.textContent), erro.slice(6));
    await p.linha("", erro);
    assert.match(await p.textContent("#retorno"), /^Certo! /);
    assert.equal(await p.textContent("#acertos"), `Acertos: ${acertos}`);
    await p.seguinte();
  }
  // The list's own keys, which the drawing's step keys leave alone.
  await p.focus("#memoria");
  await p.digita("Home");
  assert.equal(await p.inputValue("#memoria"), "");
  // Skipping to the end shows the question that waits, and asks no other.
  await p.terminal();
  await p.digita("((1+2)*(3+4))", "Enter");
  await pergunta(p);
  await p.click("#pula");
  await p.espera("Resposta: 21");
  assert.ok(await p.isHidden("#resposta"));
  assert.equal(await p.textContent("#acertos"), "Acertos: 2 de 2");
});

test("n, Ctrl-D and Ctrl-C end the dialogue; Enter and Recomeçar start another", async () => {
  const p = await abre("#ritmo=de-uma-vez");
  await p.novoCiclo();
  // Two pasted lines are read as typed.
  await p.cola("(4/2)\nn\n");
  await p.espera("Fim do diálogo", "#aviso");
  await p.espera("Continua [S/N]? n"); // the terminal draws at its own pace
  const linhas = await p.tela();
  assert.deepEqual([linhas[2], linhas.includes("Resposta: 2")], ["Expressao: (4/2)", true]);
  assert.ok(await p.isVisible("#recomeca"));
  await p.digita("Enter");
  await p.novoCiclo();
  assert.equal(await p.textContent("#aviso"), "");
  assert.ok(await p.isHidden("#recomeca"));
  await p.digita("Control+d");
  await p.espera("Fim do diálogo", "#aviso");
  await p.click("#recomeca");
  await p.novoCiclo();
  await p.digita("(1+", "Control+c");
  await p.espera("Ctrl-C", "#aviso");
  await p.digita("x"); // a key typed once it has ended says how to start again
  await p.espera("Para começar outro", "#aviso");
  await p.click("#recomeca");
  await p.novoCiclo();
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
    [700, 500, 1, true],
    [1366, 768],
    [1920, 1080],
  ];
  for (const [width, height, deviceScaleFactor = 1, emMoldura = false] of janelas) {
    const janela = await abre("", { viewport: { width, height }, deviceScaleFactor, emMoldura });
    const alvo = emMoldura ? janela.frames()[1] : janela;
    await alvo.click('input[value="passo"]', { timeout: 5000 });
    assert.ok(await alvo.isChecked('input[value="passo"]'), `${width}x${height}`);
    const altura = await alvo.$eval("#desenho", (desenho) => desenho.offsetHeight);
    assert.ok(altura > 300, `${width}x${height}: the drawing is ${altura} px high`);
  }
});

// The lowest contrast of a text against what lies behind it, and where.
function menorContraste(p) {
  return p.evaluate(() => {
    const canais = (cor) => cor.match(/[\d.]+/g).map(Number);
    const linear = (c) => (c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
    const luz = (cor) => {
      const [r, g, b] = canais(cor).map((c) => linear(c / 255));
      return 0.2126 * r + 0.7152 * g + 0.0722 * b + 0.05;
    };
    const fundo = (elemento) => {
      const cor = getComputedStyle(elemento).backgroundColor;
      return canais(cor)[3] === 0 && elemento.parentElement ? fundo(elemento.parentElement) : cor;
    };
    const razoes = [...document.querySelectorAll("body *")]
      .filter(
        (elemento) =>
          elemento.checkVisibility() &&
          !elemento.matches(".xterm-char-measure-element") &&
          canais(getComputedStyle(elemento).color)[3] !== 0 &&
          [...elemento.childNodes].some((no) => no.nodeType === 3 && no.textContent.trim()),
      )
      .map((elemento) => {
        const [a, b] = [luz(getComputedStyle(elemento).color), luz(fundo(elemento))];
        return [Math.max(a, b) / Math.min(a, b), elemento.outerHTML.slice(0, 60)];
      });
    return razoes.sort((a, b) => a[0] - b[0])[0];
  });
}

// In both schemes: every text at least 4.5:1 (axe leaves the terminal's rows and the
// code's lines unmeasured, their ground being drawn by other elements), the page and
// the terminal on the scheme's ground; then `tambem`.
const FUNDOS = { dark: "rgb(30, 30, 30)", light: "rgb(255, 255, 255)" };
async function legivel(p, onde, tambem = async () => {}) {
  for (const esquema of ["dark", "light"]) {
    await p.emulateMedia({ colorScheme: esquema });
    await p.evaluate(() => new Promise((pronto) => requestAnimationFrame(pronto)));
    const [razao, elemento] = await menorContraste(p);
    assert.ok(razao >= 4.5, `${onde}, ${esquema}: ${razao.toFixed(2)} at ${elemento}`);
    const fundos = await p.$$eval("body, .xterm-scrollable-element", (elementos) =>
      elementos.map((elemento) => getComputedStyle(elemento).backgroundColor),
    );
    assert.deepEqual(fundos, [FUNDOS[esquema], FUNDOS[esquema]], `${onde}, ${esquema}`);
    await tambem(`${onde}, ${esquema}`);
  }
}

// The states axe-core reads the page in, each reached from a link.
const ESTADOS = {
  "at the first prompt": ["", (p) => p.novoCiclo()],
  "while a step waits": [
    "#e=((1%2B2)*3)&ritmo=passo",
    async (p) => {
      await p.espera("Passo 1 de 1", "#contador");
      await p.digita("Enter", "Enter", "Enter");
      await p.espera("Passo 4 de 4", "#contador"); // two nodes on pilha 1, one new
    },
  ],
  "at a question of Prever": [
    "",
    async (p) => {
      await prever(p);
      await p.digita("((1+2)*3)", "Enter");
      await pergunta(p);
    },
  ],
  "after Pilha Cheia": [
    "#memoria=2&e=((1%2B2)*3)&ritmo=de-uma-vez",
    (p) => p.espera("ERRO: Pilha Cheia").then(() => p.espera("Continua")),
  ],
  embedded: ["#embutido=1&e=((1%2B2)*3)&ritmo=passo", (p) => p.espera("Passo 1", "#contador")],
  "with a challenge shown": [
    "#desafio=resposta:10&desafio=altura:4&ritmo=de-uma-vez",
    async (p) => {
      await p.novoCiclo();
      await p.linha("(1+2)");
      await p.espera("Ainda não", "#veredito");
    },
  ],
  "at the end of a list of exercises": [
    "#e=(1%2B2)&e=(4*5)&ritmo=de-uma-vez",
    async (p) => {
      await p.espera("Continua");
      await p.click("#proximo-exercicio");
      await p.espera("Lista concluída", "#proximo-exercicio");
    },
  ],
};
// WCAG 2.2 A and AA, and the size of small targets.
const REGRAS = {
  runOnly: {
    type: "tag",
    values: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22a", "wcag22aa"],
  },
  rules: { "target-size": { enabled: true } },
};

for (const [estado, [fragmento, prepara]] of Object.entries(ESTADOS)) {
  test(`axe finds nothing, nothing scrolls sideways, every text is readable: ${estado}`, async () => {
    for (const [width, height] of [[320, 640], [768, 1024], [1280, 800]]) {
      const p = await abre(fragmento, { viewport: { width, height } });
      await prepara(p);
      // The code panel comes a moment after the first prompt.
      await p.locator("#codigo .caixa").nth(1).waitFor({ state: "attached" });
      await p.evaluate(axe);
      await legivel(p, `${width}x${height}`, async (onde) => {
        const { violations } = await p.evaluate((regras) => axe.run(document, regras), REGRAS);
        const achados = violations.map(({ id, nodes }) => `${id}: ${nodes.map((no) => no.target)}`);
        assert.deepEqual(achados, [], onde);
        const largura = await p.evaluate(() => document.documentElement.scrollWidth);
        assert.ok(largura <= width, `${onde}: ${largura} px wide`);
      });
    }
  });
}

test("Copiar link gives the page as it stands: step, code hidden, memory limit", async () => {
  const p = await abre("#e=((1%2B2)*3)&ritmo=de-uma-vez");
  await p.espera("Continua [S/N]? ");
  await p.uncheck("#mostra-codigo");
  await p.selectOption("#memoria", "5");
  await p.focus("#desenho");
  await p.digita("End", "ArrowLeft", "ArrowLeft", "ArrowLeft");
  const [passo, visto] = [await p.contador(), await p.pilhas()];
  const copia = (aceita) =>
    p.evaluate(async (aceita) => {
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
  const reaberta = await abre(new URL(campo).hash);
  await reaberta.waitForFunction((texto) => contador.textContent === texto, passo);
  assert.equal(await reaberta.pilhas(), visto);
  assert.ok(await reaberta.isHidden("#codigo"));
  assert.equal(await reaberta.inputValue("#memoria"), "5");
});

test("a list of exercises, one at a time, with the student's own in between", async () => {
  const p = await abre("#e=(1%2B2)&e=(4*5)&e=(9/3)&ritmo=de-uma-vez");
  await p.espera("Resposta: 3");
  const proximo = async (ordem, expressao, resposta) => {
    await p.click("#proximo-exercicio");
    await p.espera(`Expressao: ${expressao}`);
    await p.espera(resposta);
    assert.equal(await p.textContent("#exercicio"), `Exercício ${ordem} de 3`);
  };
  assert.equal(await p.textContent("#exercicio"), "Exercício 1 de 3");
  await proximo(2, "(4*5)", "Resposta: 20");
  await p.seguinte();
  await p.linha("(2-1)", "Resposta: 1");
  await proximo(3, "(9/3)", "Resposta: 3");
  assert.equal(await p.textContent("#proximo-exercicio"), "Lista concluída");
  assert.ok(await p.isDisabled("#proximo-exercicio"));
});

test("challenges: the goal, each line's verdict, the tally, the link kept", async () => {
  const desafios = "desafio=resposta:10&desafio=altura:4&desafio=erro:cheia:3";
  const p = await abre(`#e=(2*5)&${desafios}&ritmo=de-uma-vez`);
  await p.espera("Resposta: 10"); // the link's exercise is no try of the challenge
  assert.deepEqual(await p.textContent("#veredito"), "");
  await p.seguinte();
  // Each: the challenge shown, a line typed, its verdict and the tally.
  const tentativas = [
    [1, "responda 10.", "(1+2)", "Ainda não: esta linha respondeu 3.", 0],
    [1, "responda 10.", "((2*3)+4)", "Desafio cumprido: a avaliação respondeu 10.", 1],
    [3, "Pilha Cheia, com a memória limitada a 3 nós.", "((1+2)*(3+4))", "Desafio cumprido", 2],
  ];
  for (const [indice, [ordem, objetivo, linha, veredito, cumpridos]] of tentativas.entries()) {
    if (indice > 0 && ordem === tentativas[indice - 1][0]) {
      await p.seguinte();
    }
    // Próximo desafio answers the continue prompt.
    while (!(await p.textContent("#objetivo")).startsWith(`Desafio ${ordem} de 3`)) {
      await p.click("#proximo-desafio");
    }
    await p.novoCiclo();
    assert.ok((await p.textContent("#objetivo")).endsWith(objetivo));
    await p.linha(linha);
    assert.ok((await p.textContent("#veredito")).startsWith(veredito));
    assert.equal(await p.textContent("#cumpridos"), `Desafios cumpridos: ${cumpridos} de 3`);
  }
  assert.equal(await p.inputValue("#memoria"), "3");
  await p.evaluate(() => (navigator.clipboard.writeText = async () => {}));
  await p.click("#copiar-link");
  assert.ok((await p.inputValue("#link")).includes(`#e=((1%2B2)*(3%2B4))&${desafios}&`));
});

test("a bad link breaks nothing and says which part it did not understand", async () => {
  const markup = "((<img src=x onerror=window.x=1>+1)*2)";
  const casos = [
    ["#e=(1%2B2)" + "0".repeat(50), "ERRO: Expressao muito Longa", null],
    ["#e=%ZZ%E0&passo=-3", null, "e=%ZZ%E0; passo=-3."],
    [`#e=${markup.replace("+", "%2B")}&ritmo=de-uma-vez`, "Resposta: 4", null],
  ];
  let p;
  for (const [fragmento, resposta, ignorado] of casos) {
    p = await abre(fragmento);
    await (resposta ? p.espera(resposta) : p.novoCiclo());
    await (resposta && p.espera("Continua [S/N]? "));
    assert.ok(await p.isHidden("#recomeca"), "the dialogue goes on");
    const aviso = (await p.isVisible("#aviso-do-link")) && (await p.textContent("#aviso-do-link"));
    assert.ok(ignorado ? aviso.includes(ignorado) : aviso === false, `${fragmento}: ${aviso}`);
    await (ignorado && legivel(p, fragmento));
  }
  // Markup is the expression's text, and nothing else.
  await p.espera(`Expressao: ${markup}`);
  assert.equal(await p.textContent("#expressao"), markup);
  assert.deepEqual(await p.evaluate(() => [document.images.length, window.x]), [0, undefined]);
});

test("embedded, the terminal and the drawing fit a frame of 800 by 500", async () => {
  const janela = { viewport: { width: 800, height: 500 } };
  const p = await abre("#embutido=1&e=((1%2B2)*3)&ritmo=de-uma-vez", janela);
  await p.espera("Resposta: 9");
  const medida = await p.evaluate(() => [
    document.documentElement.scrollWidth,
    document.documentElement.scrollHeight,
    ...["#terminal", "#desenho", "#proximo"].map((id) => {
      const caixa = document.querySelector(id).getBoundingClientRect();
      return caixa.height > 0 && caixa.bottom <= innerHeight;
    }),
  ]);
  assert.deepEqual(medida, [800, 500, true, true, true]);
  assert.ok(await p.isHidden("#copiar-link"));
  assert.ok(await p.getByRole("main", { name: "Analisador de Expressoes" }).isVisible());
  assert.match(await p.title(), /^Analisador de Expressoes/);
});
