// Links a teacher hands out: the page's fragment and query, read as search parameters,
// type the expressions they hold into the dialogue as a user would and set the pace,
// the step to show, the code, the memory limit, the compact layout and the pass mark
// in the lesson's record; several expressions make a list of exercises; `Copiar link`
// gives the page as it stands. A link is read from the address alone: nothing is
// requested, nothing stored.
import { constantes } from "fonte";
import { leDesafio } from "./desafios.mjs";
import { MAIOR_MEMORIA } from "./passos.mjs";
import { placaresDe } from "./resultados.mjs";

const { COMECOU } = constantes;

// The paces by their names in a link, and as the record holds them.
const RITMOS = { "de-uma-vez": "imediato", animado: "animado", passo: "passo", prever: "prever" };
const NOME_DO_RITMO = Object.fromEntries(
  Object.entries(RITMOS).map(([nome, ritmo]) => [ritmo, nome]),
);

// Ctrl-E and Ctrl-U: whatever the student had begun on the expression line goes.
const LIMPA_LINHA = "\x05\x15";
const utf8 = new TextDecoder();

// A part of the link as the notice names it: as it stands in the address, short.
const citada = (parte) => (parte.length > 40 ? parte.slice(0, 39) + "…" : parte);

// Decodes a key or a value as a form does, but refuses a malformed percent-encoding
// (null) rather than keep it as text.
function decodifica(texto) {
  try {
    return decodeURIComponent(texto.replaceAll("+", " "));
  } catch {
    return null;
  }
}

// The keys a link may hold but `e`: whether a value is one the page knows, and the
// value as the record holds it.
const CHAVES = {
  ritmo: [(valor) => Object.hasOwn(RITMOS, valor), (valor) => RITMOS[valor]],
  passo: [(valor) => /^[1-9][0-9]{0,5}$/.test(valor), Number],
  codigo: [(valor) => /^[01]$/.test(valor), (valor) => valor === "1"],
  memoria: [(valor) => /^([1-9][0-9]?)?$/.test(valor) && valor <= MAIOR_MEMORIA, Number],
  embutido: [(valor) => /^[01]$/.test(valor), (valor) => valor === "1"],
  aprovacao: [(valor) => /^(100|[1-9]?[0-9])$/.test(valor), Number],
};
const conhecida = (chave) => chave === "e" || chave === "desafio" || Object.hasOwn(CHAVES, chave);

// One key and its value, if the page knows them. An expression is one line: what
// follows a line end is dropped, and so is any other control character, which no
// one types into a line.
function aceita(pedido, chave, valor) {
  if (chave === "e") {
    pedido.expressoes.push(valor.split(/[\r\n]/)[0].replace(/[\0-\x1f\x7f]/g, ""));
    return true;
  }
  if (chave === "desafio") {
    const desafio = leDesafio(valor);
    desafio && pedido.desafios.push(desafio);
    return desafio !== null;
  }
  const [conhecido, converte] = Object.hasOwn(CHAVES, chave) ? CHAVES[chave] : [() => false];
  if (conhecido(valor)) {
    pedido[chave] = converte(valor);
  }
  return conhecido(valor);
}

// Each `chave=valor` of a query or a fragment, as it stands and with its key and
// value decoded (null where the percent-encoding is malformed).
function partes(texto) {
  return texto
    .split("&")
    .filter((parte) => parte !== "")
    .map((parte) => {
      const igual = parte.includes("=") ? parte.indexOf("=") : parte.length;
      return {
        parte,
        chave: decodifica(parte.slice(0, igual)),
        valor: decodifica(parte.slice(igual + 1)),
      };
    });
}

// The link's requests, each checked on its own; what is not understood is named in
// `ignoradas` and changes nothing. The query counts as the fragment does, the
// fragment alone where both name a key: a course's platform opens its package's list
// with a query, a teacher's link holds it in the fragment. A key the page does not
// know is left alone in the query, which hosts use for their own.
export function leLink(busca, fragmento) {
  const doFragmento = partes(fragmento.replace(/^#/, ""));
  const nomeadas = new Set(doFragmento.map(({ chave }) => chave));
  const daBusca = partes(busca.replace(/^\?/, "")).filter(
    ({ chave }) => conhecida(chave) && !nomeadas.has(chave),
  );
  const pedido = { expressoes: [], desafios: [], ignoradas: [] };
  for (const { parte, chave, valor } of [...daBusca, ...doFragmento]) {
    if (!(chave !== null && valor !== null && aceita(pedido, chave, valor))) {
      pedido.ignoradas.push(citada(parte));
    } else if (chave === "e" && /[\0-\x1f\x7f]/.test(valor)) {
      pedido.ignoradas.push(`${citada(parte)} (só a primeira linha, sem controles)`);
    } else if (chave === "e" && parte.includes("+")) {
      pedido.ignoradas.push(`${citada(parte)} (+ é espaço num link; o sinal de mais é %2B)`);
    }
  }
  if (pedido.passo !== undefined && pedido.expressoes.length === 0) {
    pedido.ignoradas.push(`passo=${pedido.passo} (sem e)`);
    delete pedido.passo;
  }
  return pedido;
}

// The link of the page as the record stands: the list, or the last line evaluated,
// the pace, the step shown when it is not the last, the code hidden, the memory limit,
// the pass mark; all in the fragment, the query that may have brought them left out.
function link(licao, expressoes, passoDe) {
  const partes = expressoes.map((linha) => `e=${encodeURIComponent(linha)}`);
  for (const { texto } of licao.desafios) {
    partes.push(`desafio=${encodeURIComponent(texto).replaceAll("%3A", ":")}`);
  }
  partes.push(`ritmo=${NOME_DO_RITMO[licao.ritmo]}`);
  const passo = licao.mostrado + 1;
  if (passoDe !== null && expressoes[0] === passoDe && passo < licao.passos.length) {
    partes.push(`passo=${passo}`);
  }
  if (!licao.codigo) {
    partes.push("codigo=0");
  }
  if (licao.memoria > 0) {
    partes.push(`memoria=${licao.memoria}`);
  }
  if (licao.aprovacao !== null) {
    partes.push(`aprovacao=${licao.aprovacao}`);
  }
  return `${location.href.split(/[?#]/)[0]}#${partes.join("&")}`;
}

// To the clipboard, or, where the browser refuses, selected in a field.
async function copia(texto) {
  const [campo, rotulo, copiado] = ["link", "rotulo-do-link", "copiado"].map((id) =>
    document.getElementById(id),
  );
  campo.value = texto;
  try {
    await navigator.clipboard.writeText(texto);
    rotulo.hidden = true;
    copiado.textContent = "Link copiado.";
  } catch {
    rotulo.hidden = false;
    campo.focus();
    campo.select();
    copiado.textContent = "Copie o link do campo (Ctrl-C).";
  }
}

// The link's settings in the record, its layout on the page, its notice shown.
function aplica(pedido, licao) {
  const { ritmo, memoria, codigo, desafios, aprovacao = null } = pedido;
  const novos = desafios.map(() => false);
  licao.muda({ desafios, desafio: 0, cumpridos: novos, tentativas: novos.map(Number) });
  licao.muda({ aprovacao, listaEmPrever: ritmo === "prever" });
  const ajustes = Object.fromEntries(
    Object.entries({ ritmo, memoria, codigo }).filter(([, v]) => v !== undefined),
  );
  licao.muda(ajustes);
  document.documentElement.classList.toggle("embutido", pedido.embutido === true);
  if (pedido.embutido) {
    document.title = "Analisador de Expressoes: uma expressão avaliada com duas pilhas";
  }
}

function avisa(pedido) {
  const aviso = document.getElementById("aviso-do-link");
  aviso.hidden = pedido.ignoradas.length === 0;
  const partes = pedido.ignoradas.join("; ");
  aviso.textContent = `Não entendido no link, e por isso ignorado: ${partes}.`;
}

// The link's list of exercises (or its one line), typed at the expression prompts: at
// the first, the next of the list (the first, or where a course's platform says the
// student stopped), each next one when the student asks for it; the link's step shown
// once the first is evaluated. The record holds the list, how many were typed and
// which one was just typed. `l` is the list's state (criaLista).

function mostraLista({ licao, caixa, exercicio, proximo }) {
  const { exercicios, feitos } = licao;
  caixa.hidden = exercicios.length < 2;
  exercicio.textContent = `Exercício ${Math.max(feitos, 1)} de ${exercicios.length}`;
  proximo.textContent = feitos < exercicios.length ? "Próximo exercício" : "Lista concluída";
  proximo.disabled = feitos >= exercicios.length || licao.leitura === null;
}

function mostraPasso(l) {
  const total = l.licao.passos.length;
  if (l.passoPendente <= total) {
    l.licao.muda({ mostrado: l.passoPendente - 1 });
    document.getElementById("desenho").focus();
  } else {
    l.pedido.ignoradas.push(`passo=${l.passoPendente} (a avaliação tem ${total} passos)`);
    avisa(l.pedido);
  }
  l.passoPendente = undefined;
}

function tecla(l, indice, antes = "") {
  l.digita(antes + l.licao.exercicios[indice] + "\n");
  l.licao.muda({ digitado: indice });
}

// The next exercise: at the answer prompt, "s" first, and then at its prompt.
function proximoExercicio(l) {
  const { licao } = l;
  l.aTeclar = licao.feitos;
  licao.muda({ feitos: licao.feitos + 1 });
  if (licao.leitura === "expressao") {
    tecla(l, l.aTeclar, LIMPA_LINHA);
    l.aTeclar = null;
  } else {
    l.digita("s\n");
  }
  l.foca();
}

// At an expression prompt, the exercise that waits for it; at the first, the list's next.
function aoLer(l) {
  const { licao } = l;
  const indice = l.aTeclar ?? licao.feitos;
  const existe = indice < licao.exercicios.length;
  if (l.aTeclar === undefined && existe) {
    licao.muda({ feitos: indice + 1 });
  }
  l.aTeclar = null;
  existe && tecla(l, indice);
}

function criaLista(licao, pedido, { digita, foca }) {
  const [caixa, exercicio, proximo] = ["exercicios", "exercicio", "proximo-exercicio"].map((id) =>
    document.getElementById(id),
  );
  const l = { licao, pedido, digita, foca, caixa, exercicio, proximo };
  l.aTeclar = undefined; // the exercise for the next expression prompt; null, none
  l.passoPendente = pedido.passo;
  const { expressoes } = pedido;
  licao.muda({ exercicios: expressoes, feitos: 0, placares: placaresDe(expressoes) });
  proximo.addEventListener("click", () => proximoExercicio(l));
  licao.observa((mudou) => {
    if (mudou.has("leitura") && licao.leitura === "expressao" && l.aTeclar !== null) {
      aoLer(l);
    } else if (mudou.has("leitura") && licao.leitura === "resposta" && licao.feitos > 0) {
      l.passoPendente !== undefined && mostraPasso(l);
    }
    if (mudou.has("leitura") || mudou.has("feitos")) {
      mostraLista(l);
    }
  });
  mostraLista(l);
}

// `terminal` types text as if pasted (`digita`) and takes the focus (`foca`).
export function criaLigacao(licao, terminal) {
  const pedido = leLink(location.search, location.hash);
  let ultima = null; // the last line evaluated
  licao.observa((mudou) => {
    if (mudou.has("passos") && licao.passos[0]?.acao === COMECOU) {
      ultima = utf8.decode(licao.passos[0].expressao);
    }
  });
  aplica(pedido, licao);
  avisa(pedido);
  criaLista(licao, pedido, terminal);
  document.getElementById("copiar-link").addEventListener("click", () => {
    const { exercicios } = licao;
    const expressoes = exercicios.length > 1 ? exercicios : ultima !== null ? [ultima] : [];
    copia(link(licao, expressoes, ultima));
  });
  // A link pasted into the address bar of an open page changes only its fragment.
  addEventListener("hashchange", () => location.reload());
}
