// The seam between the program (pagina.cpp, built as WebAssembly) and the page, in
// one place: what the program calls on the page, and what it exports to it.
//
// The program calls, as Module.pagina:
//   leLinha(prompt, historico, capacidade): the next piece, of at most `capacidade`
//     bytes, of the line typed after `prompt` (a Uint8Array), or null at the end of
//     input; `historico` says whether the line may be recalled. The program waits.
//   escreve(bytes): what the program writes, as it flushes it.
//   passo(registro): a step of the evaluation, the address of its record (read here
//     into an object by lePasso); the program waits until the promise settles.
// The program exports:
//   Dialoga(): runs one whole dialogue; settles with its exit code when it ends.
//   Limita_Memoria(nos): how many nodes may be alive at once; 0 for no limit.
//   Mensagem_Do_Status(status): the text the dialogue prints for a failure.
//   Calcula_Da_Pagina(esquerdo, direito, operador): the program's Calcula; and, for
//   the mistakes Prever names, Conta_Sem_Volta(esquerdo, direito, operador), the
//   result without the 32-bit wrap, and Quociente_Sem_Corte(esquerdo, direito,
//   operador, piso), the quotient rounded half away from zero or floored: each as
//   decimal text, "" for a division by zero or a quotient of no division.

// The 32-bit fields of pagina.cpp's TPASSO_DA_PAGINA, in their order; both stacks'
// values follow them.
const CAMPOS = [
  "acao",
  "pilha",
  "valor",
  "status",
  "classe",
  "linha",
  "mensagem",
  "letras",
  "expressao",
  "tamanho",
  "lendo",
  "operandos",
  "operadores",
];

const utf8 = new TextDecoder();

// A step as the page uses it: its fields, the failure's text, the line's bytes, and
// each stack's values, top first.
function lePasso({ HEAP32, HEAPU8 }, registro) {
  const inicio = registro >> 2;
  const campos = Object.fromEntries(CAMPOS.map((nome, indice) => [nome, HEAP32[inicio + indice]]));
  const { mensagem, letras, expressao, tamanho, operandos, operadores, ...numeros } = campos;
  const depois = inicio + CAMPOS.length;
  const valores = Array.from(HEAP32.subarray(depois, depois + operandos + operadores));
  return {
    ...numeros,
    mensagem: utf8.decode(HEAPU8.subarray(mensagem, mensagem + letras)).trim(),
    expressao: HEAPU8.slice(expressao, expressao + tamanho),
    operandos: valores.slice(0, operandos),
    operadores: valores.slice(operandos),
  };
}

// Starts the program made by `criaPrograma` (emscripten's factory) with the page's
// side of the seam, `pagina`; `opcoes` go to the factory as they are. Settles with
// the program's exports, as the page calls them.
export async function ligaPrograma(criaPrograma, pagina, opcoes = {}) {
  const modulo = await criaPrograma({
    ...opcoes,
    pagina: {
      leLinha: pagina.leLinha,
      escreve: pagina.escreve,
      passo: (registro) => pagina.passo(lePasso(modulo, registro)),
    },
  });
  const texto = (endereco) =>
    utf8.decode(modulo.HEAPU8.subarray(endereco, modulo.HEAPU8.indexOf(0, endereco)));
  return {
    dialoga: () => modulo.ccall("Dialoga", "number", [], [], { async: true }),
    limitaMemoria: (nos) => modulo._Limita_Memoria(nos),
    mensagem: (status) => texto(modulo._Mensagem_Do_Status(status)).trim(),
    // What a student who mistakes one rule of the arithmetic answers (perguntas.mjs).
    conta: {
      calcula: (esquerdo, direito, operador) =>
        texto(modulo._Calcula_Da_Pagina(esquerdo, direito, operador)),
      semVolta: (esquerdo, direito, operador) =>
        texto(modulo._Conta_Sem_Volta(esquerdo, direito, operador)),
      semCorte: (esquerdo, direito, operador, piso) =>
        texto(modulo._Quociente_Sem_Corte(esquerdo, direito, operador, piso ? 1 : 0)),
    },
  };
}
