// Links a teacher hands out: the page's fragment, read as search parameters, types
// the expressions it holds into the dialogue as a user would and sets the pace, the
// step to show, the code, the memory limit and the compact layout in the lesson's
// record; several expressions make a list of exercises; `Copiar link` gives the page
// as it stands. A link is read from the address alone: nothing is requested, nothing
// stored.
import { constantes } from "fonte";
import { leDesafio } from "./desafios.mjs";
import { MAIOR_MEMORIA } from "./passos.mjs";

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
};

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

// The fragment's requests, each checked on its own; what is not understood is named
// in `ignoradas` and changes nothing.
export function leFragmento(fragmento) {
  const pedido = { expressoes: [], desafios: [], ignoradas: [] };
  for (const parte of fragmento.replace(/^#/, "").split("&")) {
    const igual = parte.includes("=") ? parte.indexOf("=") : parte.length;
    const chave = decodifica(parte.slice(0, igual));
    const valor = decodifica(parte.slice(igual + 1));
    if (parte !== "" && !(chave !== null && valor !== null && aceita(pedido, chave, valor))) {
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
// the pace, the step shown when it is not the last, the code hidden, the memory limit.
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
  return `${location.href.split("#")[0]}#${partes.join("&")}`;
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
  const { ritmo, memoria, codigo, desafios } = pedido;
  licao.muda({ desafios, desafio: 0, cumpridos: desafios.map(() => false) });
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

// The link's list of exercises (or its one line), typed at the expression prompts: the
// first at once, each next one when the student asks for it; the link's step shown
// once the first is evaluated. The record holds the list and how many were typed.
function criaLista(licao, pedido, { digita, foca }) {
  const [caixa, exercicio, proximo] = ["exercicios", "exercicio", "proximo-exercicio"].map((id) =>
    document.getElementById(id),
  );
  let aTeclar = pedido.expressoes[0] ?? null; // at the next expression prompt
  let passoPendente = pedido.passo;
  licao.muda({ exercicios: pedido.expressoes, feitos: 0 });

  function mostra() {
    const { exercicios, feitos } = licao;
    caixa.hidden = exercicios.length < 2;
    exercicio.textContent = `Exercício ${Math.max(feitos, 1)} de ${exercicios.length}`;
    proximo.textContent = feitos < exercicios.length ? "Próximo exercício" : "Lista concluída";
    proximo.disabled = feitos >= exercicios.length || licao.leitura === null;
  }

  function mostraPasso() {
    const total = licao.passos.length;
    if (passoPendente <= total) {
      licao.muda({ mostrado: passoPendente - 1 });
      document.getElementById("desenho").focus();
    } else {
      pedido.ignoradas.push(`passo=${passoPendente} (a avaliação tem ${total} passos)`);
      avisa(pedido);
    }
    passoPendente = undefined;
  }

  // The next exercise: at the answer prompt, "s" first, and then at its prompt.
  proximo.addEventListener("click", () => {
    aTeclar = licao.exercicios[licao.feitos];
    licao.muda({ feitos: licao.feitos + 1 });
    if (licao.leitura === "expressao") {
      digita(LIMPA_LINHA + aTeclar + "\n");
      aTeclar = null;
    } else {
      digita("s\n");
    }
    foca();
  });

  licao.observa((mudou) => {
    if (mudou.has("leitura") && licao.leitura === "expressao" && aTeclar !== null) {
      digita(aTeclar + "\n");
      aTeclar = null;
      licao.muda({ feitos: Math.max(licao.feitos, 1) });
    } else if (mudou.has("leitura") && licao.leitura === "resposta" && licao.feitos > 0) {
      passoPendente !== undefined && mostraPasso();
    }
    if (mudou.has("leitura") || mudou.has("feitos")) {
      mostra();
    }
  });
  mostra();
}

// `terminal` types text as if pasted (`digita`) and takes the focus (`foca`).
export function criaLigacao(licao, terminal) {
  const pedido = leFragmento(location.hash);
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
