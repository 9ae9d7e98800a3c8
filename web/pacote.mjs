// Makes the page a SCORM 1.2 package, the zip a course's platform (Moodle among them)
// takes as an activity and grades: imsmanifest.xml and the page, byte for byte as the
// build wrote it. A teacher's link, given, travels in the item's parameters, so that
// the platform opens the page at its list; the title names the activity.
// Usage: node pacote.mjs [--titulo TITLE] [--saida PACKAGE.zip] [--pagina PAGE.html] [LINK]
// LINK as Copiar link gives it, or only what follows its # (or ?). The build runs it
// from the build tree, beside the node_modules that npm ci installed there, and so
// does a teacher, with nothing to compile.
import { readFileSync, statSync, writeFileSync } from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { parseArgs } from "node:util";
import { strToU8, zipSync } from "fflate";

const aqui = path.dirname(fileURLToPath(import.meta.url));
const { values: opcoes, positionals } = parseArgs({
  options: {
    titulo: { type: "string", default: "Analisador de Expressoes" },
    saida: { type: "string", default: "analisar_exp_encad_scorm.zip" },
    pagina: { type: "string", default: path.join(aqui, "..", "analisar_exp_encad.html") },
  },
  allowPositionals: true,
});
if (positionals.length > 1) {
  console.error("pacote.mjs: one link at most; quote it, for the shell's sake");
  process.exit(2);
}

// The link's keys, which the page reads from the query the platform launches it with.
const link = positionals[0] ?? "";
const inicio = link.search(/[#?]/);
const chaves = inicio >= 0 ? link.slice(inicio + 1) : link.includes("=") ? link : "";
const parametros = chaves === "" ? "" : `?${chaves}`;

// XML's five characters that an attribute or a text may not hold as they are.
const ENTIDADES = { "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;", "'": "&apos;" };
const xml = (texto) => texto.replace(/[&<>"']/g, (caractere) => ENTIDADES[caractere]);

const nome = path.basename(opcoes.pagina);
const titulo = xml(opcoes.titulo);
const manifesto = `<?xml version="1.0" encoding="UTF-8"?>
<manifest identifier="analisador-de-expressoes" version="1.0"
  xmlns="http://www.imsproject.org/xsd/imscp_rootv1p1p2"
  xmlns:adlcp="http://www.adlnet.org/xsd/adlcp_rootv1p2">
  <metadata>
    <schema>ADL SCORM</schema>
    <schemaversion>1.2</schemaversion>
  </metadata>
  <organizations default="organizacao">
    <organization identifier="organizacao">
      <title>${titulo}</title>
      <item identifier="item" identifierref="pagina" isvisible="true" parameters="${xml(parametros)}">
        <title>${titulo}</title>
      </item>
    </organization>
  </organizations>
  <resources>
    <resource identifier="pagina" type="webcontent" adlcp:scormtype="sco" href="${xml(nome)}">
      <file href="${xml(nome)}"/>
    </resource>
  </resources>
</manifest>
`;

// Dated as the page, so that the same page makes the same package.
const mtime = statSync(opcoes.pagina).mtime;
const pacote = zipSync(
  { "imsmanifest.xml": strToU8(manifesto), [nome]: readFileSync(opcoes.pagina) },
  { level: 9, mtime },
);
writeFileSync(opcoes.saida, pacote);
console.log(`${opcoes.saida}: ${opcoes.titulo}${parametros ? `, ${parametros}` : ""}`);
