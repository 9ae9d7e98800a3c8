// Lets the page's scripts run under Node.js as the bundle has them (node --import
// this): the module "fonte" is src/ as monta.mjs reads it when it builds the page.
import { register } from "node:module";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { isMainThread } from "node:worker_threads";
import { leFonte } from "../fonte.mjs";

if (isMainThread) {
  register(import.meta.url);
}

export async function resolve(nome, contexto, proximo) {
  return nome === "fonte" ? { url: "fonte:", shortCircuit: true } : proximo(nome, contexto);
}

export async function load(url, contexto, proximo) {
  if (url !== "fonte:") {
    return proximo(url, contexto);
  }
  const src = path.join(path.dirname(fileURLToPath(import.meta.url)), "..", "..", "src");
  const { lidos, ...fonte } = await leFonte(src);
  const nomes = Object.keys(fonte).map(
    (nome) => `export const ${nome} = ${JSON.stringify(fonte[nome])};`,
  );
  return { format: "module", source: nomes.join("\n"), shortCircuit: true };
}
