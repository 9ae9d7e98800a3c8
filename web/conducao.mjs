// The pace at which the program goes through its steps. Each step it reports joins the
// lesson's record at once, and the program is then held on it for as long as the
// pace asks: not at all, the animated pace's time, or until the student goes on. In
// Prever the program runs ahead to the step that settles a question, unseen, what it
// writes meanwhile held back by the terminal, until the student has answered. No DOM:
// the views draw the record and call `avanca`, `pula` and `responde`.
import { constantes } from "fonte";
import { acrescenta, emCurso, perguntaDe, ultimo } from "./passos.mjs";
import { enunciado, julga, respostaCerta } from "./perguntas.mjs";
import { anotaPergunta } from "./resultados.mjs";

const { COMECOU, RECUSOU } = constantes;

// ---- Holding the program on a step ----

// Lets the program go on from the step it is held on, if it is.
function segue(c) {
  const pronto = c.solta;
  c.solta = null;
  clearTimeout(c.relogio);
  if (pronto) {
    const { licao } = c;
    licao.muda({ segurando: false, esperou: licao.esperou || licao.ritmo === "passo" });
    pronto();
  }
}

// The pace, the speed or the skip, applied to the step held now.
function aplicaRitmo(c) {
  const { licao } = c;
  clearTimeout(c.relogio);
  if (c.solta !== null && (licao.pulando || licao.ritmo === "imediato")) {
    segue(c);
  } else if (c.solta !== null && ["animado", "prever"].includes(licao.ritmo)) {
    c.relogio = setTimeout(() => segue(c), licao.velocidade);
  }
}

// A step drawn, then held as long as the pace asks; the last one never waits.
async function mostra(c, passo) {
  const { licao } = c;
  acrescenta(licao, passo);
  if (ultimo(passo) || licao.pulando || licao.ritmo === "imediato") {
    return;
  }
  await new Promise((pronto) => {
    c.solta = pronto;
    licao.muda({ segurando: true });
    aplicaRitmo(c);
  });
}

// ---- Prever ----

// Asks, and resolves once the question is settled: right, wrong twice, or shown.
function pergunta(c, questao) {
  const { licao } = c;
  const [primeiro] = questao.passos;
  const { tipo } = questao;
  let errou = false;
  licao.muda({
    pergunta: { tipo, lendo: primeiro.lendo, enunciado: enunciado(tipo, primeiro) },
    retorno: "",
  });
  return new Promise((revela) => {
    c.responde = (palpite) => {
      const juizo = julga(questao, palpite, errou, licao.erros, c.conta);
      const primeira = juizo.acertou === true && !errou;
      const contagem = juizo.contada && {
        acertos: licao.acertos + (primeira ? 1 : 0),
        respondidas: licao.respondidas + 1,
      };
      const { enganos } = licao;
      const engano = juizo.engano && {
        enganos: { ...enganos, [juizo.engano]: (enganos[juizo.engano] ?? 0) + 1 },
      };
      errou ||= palpite !== null;
      const fim = juizo.encerra && { pergunta: null, ...anotaPergunta(licao, primeira) };
      licao.muda({ retorno: juizo.texto, ...contagem, ...engano, ...fim });
      if (juizo.encerra) {
        c.responde = null;
        revela();
      }
    };
  });
}

// A question's steps wait for its answer, and then show one by one.
async function prevendo(c, passo) {
  c.terminal.retem(true);
  const tipo = c.aberta?.tipo ?? perguntaDe(passo);
  if (tipo === null) {
    c.terminal.solta();
    await mostra(c, passo);
    c.terminal.retem(!ultimo(passo));
    return;
  }
  c.aberta ??= { tipo, passos: [] };
  c.aberta.passos.push(passo);
  const certa = respostaCerta(tipo, passo);
  if (certa === null) {
    return; // the program runs ahead to the step that settles it
  }
  const questao = { ...c.aberta, certa };
  c.aberta = null;
  await pergunta(c, questao);
  c.terminal.solta();
  for (const visto of questao.passos) {
    await mostra(c, visto);
  }
}

// ---- The pace, as the page uses it ----

// `terminal` holds back what the program writes (`retem`) and lets it out (`solta`);
// `conta` is the program's arithmetic for the mistakes Prever names (ponte.mjs).
export function criaConducao(licao, terminal, conta) {
  const c = {
    licao,
    terminal,
    conta,
    solta: null, // lets the program go on from the step it is held on
    relogio: 0, // the animated pace's timer
    aberta: null, // Prever: a question's steps, while the program runs ahead
    responde: null, // settles the question that waits: a guess, or null to show it
  };
  licao.observa((mudou) => {
    if (mudou.has("ritmo") && licao.ritmo !== "prever") {
      c.responde?.(null); // another pace goes on without the question
    }
    if (mudou.has("ritmo") || mudou.has("velocidade") || mudou.has("pulando")) {
      aplicaRitmo(c);
    }
  });

  return {
    // A step the program reports (ponte.mjs): the program goes on once this settles.
    async passo(passo) {
      if (passo.acao === COMECOU || passo.acao === RECUSOU) {
        licao.muda({ pulando: false, esperou: false });
      }
      const prever = licao.ritmo === "prever" && passo.acao !== RECUSOU && !licao.pulando;
      if (prever || c.aberta) {
        return prevendo(c, passo);
      }
      terminal.retem(false);
      return mostra(c, passo);
    },

    // Shows the next step, or lets the program go on from the last one shown.
    avanca() {
      if (licao.mostrado < licao.passos.length - 1) {
        licao.muda({ mostrado: licao.mostrado + 1 });
      } else {
        segue(c);
      }
    },

    // The rest of this evaluation at once: the question that waits shown, no other.
    pula() {
      licao.muda({ pulando: emCurso(licao) });
      c.responde?.(null);
    },

    // Prever's answer: { valor }, { erro }, or null to be shown it.
    responde: (palpite) => c.responde?.(palpite),
  };
}
