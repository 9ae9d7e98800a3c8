// The drawing's controls: the pace and its speed, the memory limit, the code shown,
// the buttons, the slider and the keys that go through the steps. Each sets the
// lesson's record; each shows what the record holds, whoever set it.
import { MAIOR_MEMORIA, emCurso } from "./passos.mjs";

// The pace, its speed, "Memória" and "Mostrar o código".
function ligaAjustes(achado, licao) {
  const [velocidade, tempo, memoria, codigo] = [
    "#velocidade",
    "#tempo",
    "#memoria",
    "#mostra-codigo",
  ].map(achado);
  for (let nos = 1; nos <= MAIOR_MEMORIA; nos++) {
    memoria.append(new Option(`${nos} ${nos === 1 ? "nó" : "nós"}`, String(nos)));
  }
  achado("#ritmo").addEventListener("change", ({ target }) => {
    if (target.name === "ritmo") {
      licao.muda({ ritmo: target.value });
    }
  });
  velocidade.addEventListener("input", () => licao.muda({ velocidade: velocidade.valueAsNumber }));
  memoria.addEventListener("change", () => licao.muda({ memoria: Number(memoria.value) }));
  codigo.addEventListener("change", () => licao.muda({ codigo: codigo.checked }));

  function mostra() {
    achado(`input[name="ritmo"][value="${licao.ritmo}"]`).checked = true;
    velocidade.value = licao.velocidade;
    tempo.textContent = `${licao.velocidade} ms`;
    memoria.value = licao.memoria > 0 ? String(licao.memoria) : "";
    codigo.checked = licao.codigo;
  }
  licao.observa(mostra, ["ritmo", "velocidade", "memoria", "codigo"]);
  mostra();
}

// ◀ and ▶, "Pular para o fim", the step counter and the slider.
function ligaPassos(achado, licao, conducao) {
  const [anterior, proximo, pula, contador, deslizador] = [
    "#anterior",
    "#proximo",
    "#pula",
    "#contador",
    "#deslizador",
  ].map(achado);
  anterior.addEventListener("click", () => licao.muda({ mostrado: licao.mostrado - 1 }));
  proximo.addEventListener("click", conducao.avanca);
  pula.addEventListener("click", conducao.pula);
  deslizador.addEventListener("input", () =>
    licao.muda({ mostrado: deslizador.valueAsNumber - 1 }),
  );
  achado("#imprimir").addEventListener("click", () => window.print());

  function mostra() {
    const { passos, mostrado } = licao;
    anterior.disabled = mostrado <= 0;
    proximo.disabled = mostrado === passos.length - 1 && !licao.segurando;
    pula.disabled = !emCurso(licao) || licao.pulando || licao.ritmo === "imediato";
    if (mostrado >= 0) {
      contador.textContent = `Passo ${mostrado + 1} de ${passos.length}`;
      Object.assign(deslizador, { max: passos.length, value: mostrado + 1, disabled: false });
      deslizador.setAttribute("aria-valuetext", contador.textContent);
    }
  }
  licao.observa(mostra, ["passos", "mostrado", "segurando", "pulando", "ritmo"]);
}

// Enter and Space go on while a step waits, but where a control has its own use for
// them; the arrows, Home and End go through the steps, but in an input, a list or the
// table's box, which scrolls by them on a narrow window. A control that takes the
// focus is never left out of sight.
function ligaTeclas(raiz, licao, conducao) {
  const vaiPara = (indice) => licao.passos.length && licao.muda({ mostrado: indice });
  raiz.addEventListener("keydown", (evento) => {
    const { key, target } = evento;
    const entrada = ["INPUT", "SELECT"].includes(target.tagName) || target.matches(".tabela");
    const propria = target.tagName === "BUTTON" || (entrada && key === " ");
    const navega = {
      ArrowLeft: () => licao.mostrado > 0 && vaiPara(licao.mostrado - 1),
      ArrowRight: conducao.avanca,
      Home: () => vaiPara(0),
      End: () => vaiPara(licao.passos.length - 1),
    }[key];
    if ((key === "Enter" || key === " ") && licao.segurando && !propria) {
      conducao.avanca();
    } else if (!navega || entrada) {
      return;
    } else {
      navega();
    }
    evento.preventDefault();
  });
  raiz.addEventListener("focusin", ({ target }) => target.scrollIntoView({ block: "nearest" }));
}

// `conducao` lets the program go on (`avanca`) or to its end (`pula`).
export function criaControles(raiz, licao, conducao) {
  const achado = (seletor) => raiz.querySelector(seletor);
  ligaAjustes(achado, licao);
  ligaPassos(achado, licao, conducao);
  ligaTeclas(raiz, licao, conducao);
}
