// The page as a SCORM 1.2 package, under a real runtime: packages made as a teacher
// makes them, unpacked and served with a platform's page from one http server on this
// machine, as a platform serves them; the platform's page holds scorm-again's
// Scorm12API, or no API at all, and frames the package's page at its launch address,
// in headless Chromium. Also the page alone, which calls nothing and stores nothing.
// Usage: node scorm.mjs PAGE.html FOLDER, FOLDER holding the page's node_modules and
// pacote.mjs.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { createServer } from "node:http";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";

const [arquivo, pasta] = process.argv.slice(2).map((caminho) => path.resolve(caminho));
const exige = createRequire(path.join(pasta, "scorm.mjs"));
const { chromium } = exige("playwright-core");
const { unzipSync } = exige("fflate");
const temporaria = mkdtempSync(path.join(tmpdir(), "scorm-"));

// A package's files, and what its manifest says: [XPath, value] for each question.
function desempacota(zip, perguntas) {
  const arquivos = unzipSync(readFileSync(zip));
  const manifesto = path.join(temporaria, "imsmanifest.xml");
  writeFileSync(manifesto, arquivos["imsmanifest.xml"]);
  const le = (xpath) => execFileSync("xmllint", ["--xpath", `string(${xpath})`, manifesto]);
  return {
    arquivos,
    ...Object.fromEntries(perguntas.map(([nome, xpath]) => [nome, `${le(xpath)}`.trim()])),
  };
}
const item = (atributo) => `//*[local-name()="item"]/@${atributo}`;
const LANCAMENTO = [
  ["href", `//*[local-name()="resource"]/@href`],
  ["parametros", item("parameters")],
  ["tipo", `//*[local-name()="resource"]/@*[local-name()="scormtype"]`],
  ["versao", `//*[local-name()="schemaversion"]`],
];

// A list packaged with the command a teacher runs; where a platform launches it.
function empacota(link) {
  const zip = path.join(temporaria, "lista.zip");
  const comando = [path.join(pasta, "pacote.mjs"), "--pagina", arquivo, "--saida", zip, link];
  execFileSync(process.execPath, comando);
  const pacote = desempacota(zip, LANCAMENTO);
  servidos = pacote.arquivos;
  return `/pacote/${pacote.href}${pacote.parametros}`;
}

// The platform: its page, the runtime's script, the package's files.
let servidos = {};
const runtime = readFileSync(exige.resolve("scorm-again/scorm12/min"));
const PLATAFORMA = '<!doctype html><title>Plataforma</title><script src="/scorm12.js"></script>';
const servidor = createServer((pedido, resposta) => {
  const nome = decodeURIComponent(new URL(pedido.url, "http://x").pathname);
  const corpo =
    { "/": PLATAFORMA, "/scorm12.js": runtime }[nome] ?? servidos[nome.replace("/pacote/", "")];
  const tipo = nome.endsWith(".js") ? "text/javascript" : "text/html; charset=utf-8";
  resposta.writeHead(corpo ? 200 : 404, { "content-type": tipo }).end(corpo);
});
await new Promise((pronto) => servidor.listen(0, "127.0.0.1", pronto));
const base = `http://127.0.0.1:${servidor.address().port}`;

let navegador, pagina, quadro;
const erros = [];
before(async () => {
  navegador = await chromium.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
  });
});
after(async () => {
  await navegador?.close();
  servidor.close();
});

// The platform's page, with an API that holds `guardado` (flattened cmi), or none
// (null), frames the package's page at `lancamento`; the pace quickened. `recusa`:
// the session is already open, so the page's LMSInitialize is refused, in markup.
async function lanca(lancamento, guardado, recusa = false) {
  await pagina?.close();
  pagina = await navegador.newPage({ viewport: { width: 1300, height: 800 } });
  pagina.on("pageerror", (erro) => erros.push(erro.message));
  await pagina.goto(`${base}/`);
  await pagina.evaluate(
    ([lancamento, guardado, recusa]) => {
      window.mensagens = [];
      addEventListener("message", ({ data }) => mensagens.push(data));
      if (guardado) {
        Object.assign(window, { API: new Scorm12API({ logLevel: 5 }), escritos: {}, fins: 0 });
        API.loadFromFlattenedJSON(guardado);
        API.on("LMSSetValue.cmi.*", (elemento, valor) => (escritos[elemento] = valor));
        API.on("LMSFinish", () => fins++);
      }
      if (recusa) {
        API.LMSInitialize("");
        API.LMSGetErrorString = (codigo) => `<img src=x onerror="parent.x=${codigo}">`;
      }
      const moldura = Object.assign(document.createElement("iframe"), { src: lancamento });
      document.body.append(Object.assign(moldura, { width: 1250, height: 760 }));
    },
    [lancamento, guardado, recusa],
  );
  quadro = await (await pagina.waitForSelector("iframe")).contentFrame();
  await acelera();
}

async function acelera() {
  await quadro.waitForSelector(".xterm-rows");
  await quadro.$eval("#velocidade", (campo) => {
    campo.value = 100;
    campo.dispatchEvent(new Event("input"));
  });
}

// Each exercise's answers, in turn, the next exercise asked for after the first.
async function responde(exercicios) {
  for (const [ordem, palpites] of exercicios.entries()) {
    ordem > 0 && (await quadro.click("#proximo-exercicio"));
    for (const palpite of palpites) {
      await quadro.waitForSelector("#resposta", { state: "visible" });
      await quadro.fill("#palpite", palpite);
      await quadro.press("#palpite", "Enter");
    }
  }
}

// The platform's page leaves the package's: the session is finished, once.
async function sai() {
  assert.ok(await quadro.isHidden("#aviso-da-plataforma"), "no call refused");
  await pagina.$eval("iframe", (moldura) => (moldura.src = "about:blank"));
  await pagina.waitForFunction(() => fins > 0);
  return pagina.evaluate(() => ({ ...escritos, fins, dados: API.cmi.suspend_data }));
}

const LISTA = "#e=(1%2B1)&e=(2*3)&e=(8-5)&ritmo=prever";
const RESPOSTAS = [
  ["2", "2"],
  ["5", "6", "6"],
  ["3", "3"],
]; // one wrong: 5 of 6 right
const cmi = () => pagina.evaluate(() => [API.cmi.core.score.raw, API.cmi.core.lesson_status]);
const resumo = () =>
  quadro.$$eval("#resumo td, #resumo .finais", (nos) => nos.map((no) => no.textContent));

test("the build's package holds the manifest and the page, byte for byte", () => {
  const zip = path.join(path.dirname(arquivo), "analisar_exp_encad_scorm.zip");
  const { arquivos, ...manifesto } = desempacota(zip, LANCAMENTO);
  assert.deepEqual(Object.keys(arquivos), ["imsmanifest.xml", path.basename(arquivo)]);
  assert.ok(Buffer.from(arquivos[manifesto.href]).equals(readFileSync(arquivo)));
  assert.deepEqual(manifesto, {
    href: path.basename(arquivo),
    parametros: "",
    tipo: "sco",
    versao: "1.2",
  });
});

// Each case: the link's pass mark, the status, and the summary's words for it.
const NOTAS = [
  ["&aprovacao=80", "passed", "(83%). Aprovação com 80%: aprovado."],
  ["&aprovacao=90", "failed", "(83%). Aprovação com 90%: não aprovado."],
  ["", "completed", "5 de 6 (83%).Nenhum engano visto."],
];

test("a list graded by the platform: the score, and the status its pass mark gives", async () => {
  for (const [aprovacao, status, dito] of NOTAS) {
    await lanca(empacota(LISTA + aprovacao), {});
    await responde(RESPOSTAS);
    await quadro.waitForSelector("#resumo", { state: "visible" });
    assert.deepEqual(await cmi(), ["83", status], aprovacao);
    const [primeiro, segundo, , total] = await resumo();
    assert.deepEqual([primeiro, segundo], ["sim: 2 de 2 perguntas", "não: 1 de 2 perguntas"]);
    assert.ok(total.includes(dito), total);
    const fim = await sai();
    assert.match(fim["cmi.core.session_time"], /^\d{4}:\d\d:\d\d\.\d\d$/);
    const finais = [fim.fins, fim["cmi.core.score.max"], fim["cmi.core.exit"]];
    assert.deepEqual(finais, [1, "100", "suspend"]);
  }
});

test("left after the first exercise, the list goes on at the second on the next visit", async () => {
  const lancamento = empacota(LISTA + "&aprovacao=80");
  await lanca(lancamento, {});
  await responde(RESPOSTAS.slice(0, 1));
  await quadro.waitForSelector("#proximo-exercicio:enabled");
  assert.deepEqual(await cmi(), ["100", "incomplete"]);
  const { dados } = await sai();
  await lanca(lancamento, { "cmi.core.entry": "resume", "cmi.suspend_data": dados });
  await quadro.waitForFunction(() =>
    document.querySelector(".xterm-rows").textContent.includes("(2*3)"),
  );
  assert.equal(await quadro.textContent("#exercicio"), "Exercício 2 de 3");
  assert.match(await quadro.textContent("#aviso-da-plataforma"), /onde parou: exercício 2 de 3/);
  await responde(RESPOSTAS.slice(1));
  await pagina.waitForFunction(() => API.cmi.core.lesson_status !== "incomplete");
  assert.deepEqual(await cmi(), ["83", "passed"]);
});

test("a call the platform refuses is named once, as text, and the lesson goes on", async () => {
  await lanca(empacota(LISTA), {}, true);
  await quadro.waitForSelector("#resposta", { state: "visible" });
  const aviso = await quadro.textContent("#aviso-da-plataforma");
  assert.equal(
    aviso,
    `A plataforma do curso recusou LMSInitialize(""): 101 <img src=x onerror="parent.x=101">.`,
  );
  assert.deepEqual(await pagina.evaluate(() => [window.x, API.cmi.core.lesson_status]), [
    undefined,
    "not attempted",
  ]);
});

test("embedded with no platform, the page tells its parent each exercise's result", async () => {
  await lanca(empacota(LISTA), null);
  await responde(RESPOSTAS);
  await pagina.waitForFunction(() => mensagens.length === 3);
  const origem = { origem: "analisador-de-expressoes", tipo: "resultado", de: 3 };
  const figuras = [
    [1, 2, 2],
    [2, 3, 4],
    [3, 5, 6],
  ];
  assert.deepEqual(
    await pagina.evaluate(() => mensagens),
    figuras.map(([exercicio, acertos, perguntas]) => ({
      ...origem,
      exercicio,
      acertos,
      perguntas,
    })),
  );
});

test("alone, the page calls no one, asks for nothing else and stores nothing", async () => {
  const endereco = `${base}${empacota(LISTA)}`;
  await pagina.close();
  pagina = await navegador.newPage();
  const pedidos = [];
  pagina.on("request", (pedido) => pedidos.push(pedido.url()));
  await pagina.addInitScript(() => {
    window.postMessage = () => (window.chamou = true);
  });
  await pagina.goto(endereco);
  quadro = pagina.mainFrame();
  await acelera();
  await responde(RESPOSTAS.slice(0, 1));
  await quadro.waitForSelector("#proximo-exercicio:enabled");
  const guardado = await pagina.evaluate(() => [
    localStorage.length,
    document.cookie,
    window.chamou,
  ]);
  assert.deepEqual([pedidos, guardado], [[endereco], [0, "", undefined]]);
  assert.deepEqual(erros, []);
});
