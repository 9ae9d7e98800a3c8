// Entry point of the course page: the dialogue runs on the page's terminal, bound
// through the console's seams; the page's script reads the lines and draws the text.
#include <cstddef>
#include <new>
#include <string_view>

#include <emscripten/emscripten.h>

#include "analisar_exp_encad.hpp"
#include "console.hpp"
#include "pilha.hpp"
#include "sistema.hpp"

namespace {

// The script's side is in terminal.mjs. A line waits for the user: the program is
// suspended there (asyncify) until the script has one, and takes it in pieces of at
// most `capacidade` bytes; null is the end of input. (JavaScript, which
// clang-format would take for C++.)
// clang-format off
EM_ASYNC_JS(long, Le_Linha_Da_Pagina, (const char *prompt, std::size_t tamanho,
                                       int historico, char *destino,
                                       std::size_t capacidade), {
  const parte = await Module.pagina.leLinha(UTF8ToString(prompt, tamanho),
                                            historico !== 0, capacidade);
  if (parte === null) {
    return 0;
  }
  HEAPU8.set(parte, destino);
  return parte.length;
});

EM_JS(void, Escreve_Na_Pagina, (const char *origem, std::size_t tamanho), {
  Module.pagina.escreve(HEAPU8.slice(origem, origem + tamanho));
});

// A step of the evaluation for the drawing, which may keep the program waiting there
// (the pace the student chose). Both stacks come as their values, top first.
EM_ASYNC_JS(void, Mostra_Passo_Na_Pagina, (int acao, int pilha, int valor, int status,
                                           const char *mensagem, std::size_t letras,
                                           int linha, const char *expressao,
                                           std::size_t tamanho, std::size_t lendo,
                                           const int *valores, std::size_t operandos,
                                           std::size_t operadores), {
  const pilhas = Array.from(HEAP32.subarray(valores >> 2,
                                            (valores >> 2) + operandos + operadores));
  await Module.pagina.passo({
    acao, pilha, valor, status, linha, lendo,
    mensagem: UTF8ToString(mensagem, letras).trim(),
    expressao: HEAPU8.slice(expressao, expressao + tamanho),
    operandos: pilhas.slice(0, operandos),
    operadores: pilhas.slice(operandos),
  });
});
// clang-format on

long Edita(std::string_view prompt, bool historico, char *destino,
           std::size_t capacidade) {
  return Le_Linha_Da_Pagina(prompt.data(), prompt.size(), historico, destino, capacidade);
}

bool Escreve(const char *origem, std::size_t tamanho) {
  Escreve_Na_Pagina(origem, tamanho);
  return true;
}

// The page's terminal is cleared as a POSIX one is, by the ANSI sequence.
void Limpa() {
  Escreve_Na_Pagina(SEQUENCIA_QUE_LIMPA.data(), SEQUENCIA_QUE_LIMPA.size());
}

// The values of a stack, top first, from its nodes.
std::size_t Copia_Valores(const TPILHA *pilha, int *valores) {
  std::size_t quantos = 0;
  for (const TNODO *nodo = pilha->topo; nodo != nullptr; nodo = nodo->prox) {
    valores[quantos++] = nodo->valor;
  }
  return quantos;
}

// What was written goes out first, so that each trace line shows with its step.
void Mostra_Passo(const TPASSO *passo) {
  Descarrega_Saida();
  int valores[MAX_EXPRESSAO]; // a line that is evaluated never holds more nodes
  const std::size_t operandos = Copia_Valores(passo->operandos, valores);
  const std::size_t operadores = Copia_Valores(passo->operadores, valores + operandos);
  Mostra_Passo_Na_Pagina(passo->acao, passo->pilha, passo->valor, passo->status,
                         passo->mensagem.data(), passo->mensagem.size(), passo->linha,
                         passo->expressao, passo->tamanho, passo->lendo, valores,
                         operandos, operadores);
}

// Every line comes from the page's editor: there is nothing to read plainly.
long Nada_A_Ler(char *, std::size_t) {
  return 0;
}

// The page's heap for the stacks' nodes, which a class may make small ("Memória") to
// see a push find no node, as a full heap would. It counts the nodes alive.
int limite_de_nodos = 0; // 0, no limit
int nodos_vivos = 0;

TNODO *Aloca_Nodo_Contado() {
  if (limite_de_nodos > 0 && nodos_vivos >= limite_de_nodos) {
    return nullptr;
  }
  TNODO *nodo = new (std::nothrow) TNODO;
  nodos_vivos += nodo != nullptr ? 1 : 0;
  return nodo;
}

void Libera_Nodo_Contado(TNODO *nodo) {
  delete nodo;
  --nodos_vivos;
}

} // namespace

// How many nodes may be alive at once from now on; 0 or less for no limit.
extern "C" EMSCRIPTEN_KEEPALIVE void Limita_Memoria(int nodos) {
  limite_de_nodos = nodos;
}

// Runs one whole dialogue; the page calls it again to start another.
extern "C" EMSCRIPTEN_KEEPALIVE int Dialoga() {
  // Bound before any evaluation, so that every node goes back where it came from.
  Troca_Alocador_De_Nodos({Aloca_Nodo_Contado, Libera_Nodo_Contado});
  Liga_Console(Nada_A_Ler, Escreve, Limpa);
  Liga_Editor(Edita);
  Observa_Avaliacao(Mostra_Passo);
  return Executa_Dialogo();
}
