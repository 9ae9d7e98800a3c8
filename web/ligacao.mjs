// Links a teacher hands out: the page's fragment, read as search parameters, types
// the expressions it holds into the dialogue as a user would and sets the pace, the
// step to show, the code, the memory limit and the compact layout; several
// expressions make a list of exercises; `Copiar link` gives the page as it stands.
// A link is read from the address alone: nothing is requested, nothing stored.
import { constantes } from "fonte";

// The paces by their names in a link, each with the values the page's control may
// give it.
const RITMOS = {
  "de-uma-vez": ["de-uma-vez", "imediato"],
  animado: ["animado"],
  passo: ["passo"],
  prever: ["prever"],
};

// The first step the program reports of an evaluation, which holds its line, as the
// program's header defines it.
const { COMECOU } = constantes;
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

// The fragment's requests, each checked on its own; what is not understood is named
// in `ignoradas` and changes nothing.
function leFragmento(fragmento) {
  const pedido = { expressoes: [], ignoradas: [] };
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
  return pedido;
}

// One key and its value, if the page knows them. An expression is one line: what
// follows a line end is dropped, and so is any other control character, which no
// one types into a line.
function aceita(pedido, chave, valor) {
  const tratadores = {
    e: () => pedido.expressoes.push(valor.split(/[\r\n]/)[0].replace(/[\0-\x1f\x7f]/g, "")),
    ritmo: () => Object.hasOwn(RITMOS, valor) && (pedido.ritmo = valor),
    passo: () => /^[1-9][0-9]{0,5}$/.test(valor) && (pedido.passo = Number(valor)),
    codigo: () => /^[01]$/.test(valor) && (pedido.codigo = valor === "1"),
    memoria: () => (pedido.memoria = valor),
    embutido: () => /^[01]$/.test(valor) && (pedido.embutido = valor === "1"),
  };
  return Object.hasOwn(tratadores, chave) && tratadores[chave]() !== false;
}

// A value as the link writes it: what a form would escape, but parentheses and `*`
// stay readable, and `+` becomes %2B.
const codifica = encodeURIComponent;

// ---- The page's controls, wherever they are ----

const porId = (id) => document.getElementById(id);

function ritmoMarcado() {
  const valor = document.querySelector('input[name="ritmo"]:checked')?.value;
  return Object.keys(RITMOS).find((nome) => RITMOS[nome].includes(valor));
}

// Sets a control as the student would, so that the page hears the change.
function muda(controle, propriedade, valor) {
  controle[propriedade] = valor;
  controle.dispatchEvent(new Event("input", { bubbles: true }));
  controle.dispatchEvent(new Event("change", { bubbles: true }));
}

function aplicaRitmo(nome) {
  const botao = RITMOS[nome]
    .map((valor) => document.querySelector(`input[name="ritmo"][value="${valor}"]`))
    .find(Boolean);
  return botao ? (muda(botao, "checked", true), true) : false;
}

function aplicaMemoria(valor) {
  const memoria = porId("memoria");
  const valores = [...(memoria?.options ?? [])].map((opcao) => opcao.value);
  return valores.includes(valor) ? (muda(memoria, "value", valor), true) : false;
}

// The limit the select starts with is the one a link leaves out.
function memoriaMudada() {
  const memoria = porId("memoria");
  const inicial = [...(memoria?.options ?? [])].find((opcao) => opcao.defaultSelected);
  return memoria && memoria.value !== (inicial ?? memoria.options[0])?.value ? memoria.value : null;
}

// The step the drawing shows, counted from one, and how many there are.
function passoMostrado(desenho) {
  const { mostrado, total } = desenho.posicao();
  return { passo: mostrado + 1, total };
}

// ---- The link, read and made ----

// `terminal` and `desenho` are the page's; what the link asks of the controls is
// done at once, its expressions are typed once the dialogue asks for one.
export function criaLigacao(terminal, desenho) {
  const pedido = leFragmento(location.hash);
  const lista = pedido.expressoes;
  const { digita } = terminal;
  const [exercicios, exercicio, proximo, aviso] = [
    "exercicios",
    "exercicio",
    "proximo-exercicio",
    "aviso-do-link",
  ].map(porId);
  let feitos = 0; // of the list, typed so far
  let aTeclar = lista[0] ?? null; // at the next expression prompt
  let passoPendente = lista.length > 0 ? pedido.passo : undefined;
  let lendo = null; // "expressao" or "resposta" while the dialogue waits for the user
  let ultima = null; // the last line evaluated

  function avisa() {
    aviso.hidden = pedido.ignoradas.length === 0;
    const partes = pedido.ignoradas.join("; ");
    aviso.textContent = `Não entendido no link, e por isso ignorado: ${partes}.`;
  }

  function mostraLista() {
    exercicios.hidden = lista.length < 2;
    exercicio.textContent = `Exercício ${Math.max(feitos, 1)} de ${lista.length}`;
    proximo.textContent = feitos < lista.length ? "Próximo exercício" : "Lista concluída";
    proximo.disabled = feitos >= lista.length || lendo === null;
  }

  function aplicaControles() {
    document.documentElement.classList.toggle("embutido", pedido.embutido === true);
    if (pedido.embutido) {
      document.title = "Analisador de Expressoes: uma expressão avaliada com duas pilhas";
    }
    const recusados = [
      pedido.ritmo !== undefined && !aplicaRitmo(pedido.ritmo) && `ritmo=${pedido.ritmo}`,
      pedido.memoria !== undefined &&
        !aplicaMemoria(pedido.memoria) &&
        `memoria=${citada(pedido.memoria)}`,
      pedido.passo !== undefined && lista.length === 0 && `passo=${pedido.passo} (sem e)`,
    ];
    pedido.ignoradas.push(...recusados.filter(Boolean));
    const codigo = porId("mostra-codigo");
    if (codigo && pedido.codigo !== undefined) {
      muda(codigo, "checked", pedido.codigo);
    }
  }

  // Once the link's first expression is evaluated, its step in review.
  function mostraPasso() {
    const { total } = passoMostrado(desenho);
    if (passoPendente <= total) {
      desenho.vaiPara(passoPendente - 1);
      porId("desenho").focus();
    } else {
      pedido.ignoradas.push(`passo=${passoPendente} (a avaliação tem ${total} passos)`);
      avisa();
    }
    passoPendente = undefined;
  }

  function seguinte() {
    aTeclar = lista[feitos++];
    mostraLista();
    if (lendo === "resposta") {
      digita("s\n"); // the expression follows at its prompt
    } else {
      digita(LIMPA_LINHA + aTeclar + "\n");
      aTeclar = null;
    }
    terminal.terminal.focus();
  }

  function link() {
    const expressoes = lista.length > 1 ? lista : ultima !== null ? [ultima] : [];
    const partes = expressoes.map((linha) => `e=${codifica(linha)}`);
    if (ritmoMarcado()) {
      partes.push(`ritmo=${ritmoMarcado()}`);
    }
    const { passo, total } = passoMostrado(desenho);
    if (expressoes.length > 0 && expressoes[0] === ultima && passo < total) {
      partes.push(`passo=${passo}`);
    }
    if (porId("mostra-codigo")?.checked === false) {
      partes.push("codigo=0");
    }
    if (memoriaMudada() !== null) {
      partes.push(`memoria=${codifica(memoriaMudada())}`);
    }
    return `${location.href.split("#")[0]}#${partes.join("&")}`;
  }

  // To the clipboard, or, where the browser refuses, selected in a field.
  async function copia() {
    const [campo, rotulo, copiado] = ["link", "rotulo-do-link", "copiado"].map(porId);
    campo.value = link();
    try {
      await navigator.clipboard.writeText(campo.value);
      rotulo.hidden = true;
      copiado.textContent = "Link copiado.";
    } catch {
      rotulo.hidden = false;
      campo.focus();
      campo.select();
      copiado.textContent = "Copie o link do campo (Ctrl-C).";
    }
  }

  aplicaControles();
  avisa();
  mostraLista();
  proximo.addEventListener("click", seguinte);
  porId("copiar-link").addEventListener("click", copia);
  // A link pasted into the address bar of an open page changes only its fragment.
  addEventListener("hashchange", () => location.reload());

  return {
    // The program's side of the page, watched: which prompt waits, which line was
    // evaluated; the link's lines are typed at the expression prompt.
    vigia(pagina) {
      return {
        ...pagina,
        async leLinha(prompt, expressao, capacidade) {
          lendo = expressao ? "expressao" : "resposta";
          mostraLista();
          const parte = pagina.leLinha(prompt, expressao, capacidade);
          if (expressao && aTeclar !== null) {
            digita(aTeclar + "\n");
            aTeclar = null;
            feitos = Math.max(feitos, 1);
          } else if (!expressao && passoPendente !== undefined && feitos > 0) {
            mostraPasso();
          }
          try {
            return await parte;
          } finally {
            lendo = null;
            mostraLista();
          }
        },
        passo(passo) {
          if (passo.acao === COMECOU) {
            ultima = utf8.decode(passo.expressao);
          }
          return pagina.passo(passo);
        },
      };
    },
  };
}
