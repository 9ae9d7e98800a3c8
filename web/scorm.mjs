// The page as a SCO of SCORM 1.2: opened by a course's platform (an LMS, Moodle most
// often) that offers its API in a frame above the page or in the window that opened
// it, the page hands it the list's score, where the student stands and, at the list's
// end, whether it was passed; a later visit of the same attempt goes on from there.
// With no API nothing here runs. A call the platform refuses is named once in the
// notice line, as text, and the lesson goes on.
import {
  RESULTADOS,
  codificaRetomada,
  leRetomada,
  posicao,
  resultado,
  tempoScorm,
} from "./resultados.mjs";

const MAIS_ACIMA = 7; // the frames above the page searched, as SCORM 1.2's runtime says

// The API of `janela` or of a frame above it; null where there is none, or where a
// frame of another origin stands in the way.
function acimaDe(janela) {
  try {
    for (let subidas = 0; subidas <= MAIS_ACIMA; subidas++) {
      if (janela.API) {
        return janela.API;
      }
      if (janela.parent === janela) {
        return null;
      }
      janela = janela.parent;
    }
  } catch {
    // another origin's frame
  }
  return null;
}

// Where SCORM 1.2 says a SCO looks for its API: its own frames, then its opener's.
export const achaApi = (janela) =>
  acimaDe(janela) ?? (janela.opener ? acimaDe(janela.opener) : null);

// The notice line: where the student was taken back to, and every call refused.
function diz(s) {
  s.aviso.textContent = [s.retomada, ...s.recusas].filter(Boolean).join(" ");
  s.aviso.hidden = s.aviso.textContent === "";
}

// A call of the API; one the platform refuses (LMSGetLastError not 0, or a throw) is
// named once, with the platform's own words for it.
function chama(s, metodo, ...argumentos) {
  let volta = "";
  let codigo;
  try {
    volta = s.api[metodo](...argumentos);
    codigo = String(s.api.LMSGetLastError());
  } catch (erro) {
    codigo = String(erro?.name ?? erro);
  }
  const chamada = `${metodo}(${argumentos.length ? `"${argumentos[0]}"` : ""})`;
  if (codigo !== "0" && !s.ditas.has(chamada)) {
    s.ditas.add(chamada);
    let porque = "";
    try {
      porque = String(s.api.LMSGetErrorString(codigo));
    } catch {
      // a platform that cannot even say why
    }
    s.recusas.push(`A plataforma do curso recusou ${chamada}: ${codigo} ${porque}`.trim() + ".");
    diz(s);
  }
  return codigo === "0" ? volta : null;
}

// Where the student stands, as the record's own words say it.
function ondeEsta(licao) {
  const { exercicios, feitos, desafios, desafio } = licao;
  const { acertos, perguntas, concluida } = resultado(licao);
  const lugares = [
    feitos < exercicios.length && `exercício ${feitos + 1} de ${exercicios.length}`,
    desafios.length > 0 && `desafio ${desafio + 1} de ${desafios.length}`,
  ];
  const onde = concluida ? "já concluída" : `onde parou: ${lugares.filter(Boolean).join(", ")}`;
  const placar = perguntas > 0 ? ` Certas na primeira tentativa: ${acertos} de ${perguntas}.` : "";
  return `De volta à lista, ${onde}.${placar}`;
}

// A later visit of an attempt left unfinished goes on where the student stopped.
function retoma(s) {
  const guardado = chama(s, "LMSGetValue", "cmi.suspend_data");
  const retomada = guardado ? leRetomada(guardado, s.licao) : null;
  if (retomada) {
    s.licao.muda(retomada);
    s.retomada = ondeEsta(s.licao);
  } else if (guardado) {
    s.retomada = "O que a plataforma guardou não é desta lista: ela começa do início.";
  }
  diz(s);
}

// The list's results, after each question settled, each evaluation's end and each
// challenge's: the score, where the student stands when it changed, the status at the
// list's end; then a commit.
function envia(s) {
  const { nota, status } = resultado(s.licao);
  if (nota !== null) {
    chama(s, "LMSSetValue", "cmi.core.score.min", "0");
    chama(s, "LMSSetValue", "cmi.core.score.max", "100");
    chama(s, "LMSSetValue", "cmi.core.score.raw", String(nota));
  }
  const agora = posicao(s.licao);
  if (agora !== s.posicao) {
    s.posicao = agora;
    const dados = codificaRetomada(s.licao);
    dados !== null && chama(s, "LMSSetValue", "cmi.suspend_data", dados);
  }
  if (status !== "incomplete" && status !== s.status) {
    s.status = status;
    chama(s, "LMSSetValue", "cmi.core.lesson_status", status);
  }
  chama(s, "LMSCommit", "");
}

// Leaving the page ends the session, once: its time, an exit that lets the next visit
// resume, and LMSFinish.
function encerra(s) {
  if (s.encerrada) {
    return;
  }
  s.encerrada = true;
  chama(s, "LMSSetValue", "cmi.core.session_time", tempoScorm(performance.now() - s.inicio));
  chama(s, "LMSSetValue", "cmi.core.exit", "suspend");
  chama(s, "LMSFinish", "");
}

// Starts the session where an API is found, and says whether one was.
export function criaScorm(licao, janela = window) {
  const api = achaApi(janela);
  if (!api) {
    return false;
  }
  const aviso = janela.document.getElementById("aviso-da-plataforma");
  const s = { api, licao, aviso, ditas: new Set(), recusas: [], retomada: "", encerrada: false };
  s.inicio = performance.now();
  if (String(chama(s, "LMSInitialize", "")) !== "true") {
    return true; // no session: nothing more is called
  }
  s.status = chama(s, "LMSGetValue", "cmi.core.lesson_status");
  if (s.status === "not attempted" || s.status === "") {
    chama(s, "LMSSetValue", "cmi.core.lesson_status", "incomplete");
  }
  if (chama(s, "LMSGetValue", "cmi.core.entry") === "resume") {
    retoma(s);
  }
  s.posicao = posicao(licao);
  licao.observa(() => !s.encerrada && envia(s), RESULTADOS);
  envia(s);
  janela.addEventListener("pagehide", () => encerra(s));
  return true;
}
