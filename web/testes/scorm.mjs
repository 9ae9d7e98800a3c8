// The page as a SCORM 1.2 package under a real runtime, in headless Chromium: packages
// made as a teacher makes them, served with a platform's page by one http server on
// this machine; that page holds scorm-again's Scorm12API, or no API, and frames the
// package's page at its launch address. (The page alone is navegador.mjs's.)
// Usage: node scorm.mjs PAGE.html FOLDER, FOLDER holding node_modules and pacote.mjs.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { createServer } from "node:http";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import path from "node:path";
import { after, test } from "node:test";

const [arquivo, pasta] = process.argv.slice(2).map((caminho) => path.resolve(caminho));
const exige = createRequire(path.join(pasta, "scorm.mjs"));
const { chromium } = exige("playwright-core");
const { unzipSync } = exige("fflate");
const temporaria = mkdtempSync(path.join(tmpdir(), "scorm-"));

// A list packaged with the command a teacher runs, its files served; where a platform
// launches it, as the manifest says, which xmllint reads.
function empacota(link) {
  const zip = path.join(temporaria, "lista.zip");
  const comando = [path.join(pasta, "pacote.mjs"), "--pagina", arquivo, "--saida", zip, link];
  execFileSync(process.execPath, comando);
  servidos = unzipSync(readFileSync(zip));
  const manifesto = path.join(temporaria, "imsmanifest.xml");
  writeFileSync(manifesto, servidos["imsmanifest.xml"]);
  const [href, parametros] = ['resource"]/@href', 'item"]/@parameters'].map((xpath) =>
    execFileSync("xmllint", ["--xpath", `string(//*[local-name()="${xpath})`, manifesto]),
  );
  return `/pacote/${`${href}`.trim()}${`${parametros}`.trim()}`;
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

const navegador = await chromium.launch({ executablePath: process.env.CHROMIUM });
after(() => Promise.all([navegador.close(), servidor.close()]));
let pagina, quadro;
const [erros, pedidos] = [[], []];

// The platform's page, with an API holding `guardado` (flattened cmi) or none (null),
// frames the page at `lancamento`; the pace quickened. `recusa`: the session is open
// already, so the page's LMSInitialize is refused, in markup.
async function lanca(lancamento, guardado, recusa = false) {
  await pagina?.close();
  pagina = await navegador.newPage({ viewport: { width: 1300, height: 800 } });
  pagina.on("pageerror", (erro) => erros.push(erro.message));
  pagina.on("request", (pedido) => pedidos.push(pedido.url()));
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
// prettier-ignore
const RESPOSTAS = [["2", "2"], ["5", "6", "6"], ["3", "3"]]; // one wrong: 5 of 6 right
const cmi = () => pagina.evaluate(() => [API.cmi.core.score.raw, API.cmi.core.lesson_status]);
const resumo = () =>
  quadro.$$eval("#resumo td, #resumo .finais", (nos) => nos.map((no) => no.textContent));

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
  await quadro.waitForSelector(".xterm-rows :text('Expressao: (2*3)')");
  assert.equal(await quadro.textContent("#exercicio"), "Exercício 2 de 3");
  assert.match(await quadro.textContent("#aviso-da-plataforma"), /onde parou: exercício 2 de 3/);
  await responde(RESPOSTAS.slice(1));
  await pagina.waitForFunction(() => API.cmi.core.lesson_status !== "incomplete");
  assert.deepEqual(await cmi(), ["83", "passed"]);
});

test("a call the platform refuses is named once, as text, and the lesson goes on", async () => {
  await lanca(empacota(LISTA), {}, true);
  await quadro.waitForSelector("#resposta", { state: "visible" });
  const dito = 'recusou LMSInitialize(""): 101 <img src=x onerror="parent.x=101">.';
  assert.ok((await quadro.textContent("#aviso-da-plataforma")).endsWith(dito));
  const [x, status] = await pagina.evaluate(() => [window.x, API.cmi.core.lesson_status]);
  assert.deepEqual([x, status], [undefined, "not attempted"]);
});

test("embedded with no platform, the page tells its parent each result, and asks and stores nothing", async () => {
  const lancamento = empacota(LISTA);
  await lanca(lancamento, null);
  await responde(RESPOSTAS);
  await pagina.waitForFunction(() => mensagens.length === 3);
  const origem = { origem: "analisador-de-expressoes", tipo: "resultado", de: 3 };
  // prettier-ignore
  const figuras = [{ exercicio: 1, acertos: 2, perguntas: 2 }, { exercicio: 2, acertos: 3, perguntas: 4 },
    { exercicio: 3, acertos: 5, perguntas: 6 }];
  const esperadas = figuras.map((figura) => ({ ...origem, ...figura }));
  assert.deepEqual(await pagina.evaluate(() => mensagens), esperadas);
  const guardado = await quadro.evaluate(() => [localStorage.length, document.cookie]);
  const pedidas = ["/", "/scorm12.js", lancamento].map((nome) => base + nome);
  assert.deepEqual([pedidos.slice(-3), guardado, erros], [pedidas, [0, ""], []]);
});
