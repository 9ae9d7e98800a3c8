// Entry point of the course page: the dialogue runs on the page's terminal, bound
// through the console's seams; the page's script reads the lines and draws the steps.
// What crosses to the script and back is listed once, in ponte.mjs.
#include <charconv>
#include <cstddef>
#include <new>
#include <string_view>

#include <emscripten/emscripten.h>

#include "analisar_exp_encad.hpp"
#include "console.hpp"
#include "expressao.hpp"
#include "pilha.hpp"
#include "sistema.hpp"

namespace {

// A step as the page reads it from memory (ponte.mjs, lePasso): 32-bit fields only,
// in this order, then the values of both stacks, top first, pilha 1's before pilha 2's.
struct TPASSO_DA_PAGINA {
  int acao;
  int pilha;
  int valor;
  int status;
  int classe; // of the character read, as Codifica tells it; 0 when none is read
  int linha;
  const char *mensagem;
  std::size_t letras;
  const char *expressao;
  std::size_t tamanho;
  std::size_t lendo;
  std::size_t operandos;      // how many of `valores` are pilha 1's
  std::size_t operadores;     // and how many, after them, pilha 2's
  int valores[MAX_EXPRESSAO]; // a line that is evaluated never holds more nodes
};
static_assert(sizeof(void *) == 4 && sizeof(std::size_t) == 4,
              "the page reads every field as a 32-bit integer");
static_assert(offsetof(TPASSO_DA_PAGINA, valores) == 13 * sizeof(int));

// The script's side of each call is in ponte.mjs. A line waits for the user: the
// program is suspended there (asyncify) until the script has one, and takes it in
// pieces of at most `capacidade` bytes; null is the end of input. (JavaScript, which
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

// The page may keep the program waiting on a step (the pace the student chose).
EM_ASYNC_JS(void, Mostra_Passo_Na_Pagina, (const TPASSO_DA_PAGINA *registro), {
  await Module.pagina.passo(registro);
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

// The class of the character being read, as the evaluation's scan sees it.
int Classe_Do_Lido(const TPASSO *passo) {
  if (passo->acao == COMECOU || passo->acao == RECUSOU ||
      passo->lendo >= passo->tamanho) {
    return 0;
  }
  int digito = 0, operador = 0;
  return Codifica(passo->expressao[passo->lendo], &digito, &operador);
}

// What was written goes out first, so that each trace line shows with its step.
void Mostra_Passo(const TPASSO *passo) {
  Descarrega_Saida();
  TPASSO_DA_PAGINA registro = {passo->acao,
                               passo->pilha,
                               passo->valor,
                               passo->status,
                               Classe_Do_Lido(passo),
                               passo->linha,
                               passo->mensagem.data(),
                               passo->mensagem.size(),
                               passo->expressao,
                               passo->tamanho,
                               passo->lendo,
                               0,
                               0,
                               {}};
  registro.operandos = Copia_Valores(passo->operandos, registro.valores);
  registro.operadores =
      Copia_Valores(passo->operadores, registro.valores + registro.operandos);
  Mostra_Passo_Na_Pagina(&registro);
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

// A whole number as NUL-terminated decimal text, which lasts until the next call.
const char *Como_Texto(long long valor) {
  static char texto[24];
  *std::to_chars(texto, texto + sizeof texto - 1, valor).ptr = '\0';
  return texto;
}

// As the evaluation refuses it, before it calls Calcula.
bool Divide_Por_Zero(int direito, int operador) {
  return operador == '/' && direito == 0;
}

// The quotient rounded half away from zero, or floored, where it is not cut.
long long Sem_Corte(long long esquerdo, long long direito, bool piso) {
  const long long quociente = esquerdo / direito, resto = esquerdo % direito;
  const bool negativo = (esquerdo < 0) != (direito < 0);
  const bool metade_ou_mais =
      2 * (resto < 0 ? -resto : resto) >= (direito < 0 ? -direito : direito);
  if (resto == 0 || (!piso && !metade_ou_mais) || (piso && !negativo)) {
    return quociente;
  }
  return negativo ? quociente - 1 : quociente + 1;
}

} // namespace

// ---- What a student who mistakes one rule answers, for Prever's hints ----
// Each as decimal text, "" where the operation does not apply: a division by zero,
// which the evaluation refuses, or a quotient of an operator that does not divide.

// The program's own arithmetic, for operands mistaken: swapped, or taken from
// elsewhere in the stacks.
extern "C" EMSCRIPTEN_KEEPALIVE const char *Calcula_Da_Pagina(int esquerdo, int direito,
                                                              int operador) {
  return Divide_Por_Zero(direito, operador)
             ? ""
             : Como_Texto(Calcula(esquerdo, direito, static_cast<char>(operador)));
}

// The result in whole numbers, without the 32-bit wrap.
extern "C" EMSCRIPTEN_KEEPALIVE const char *Conta_Sem_Volta(int esquerdo, int direito,
                                                            int operador) {
  const long long a = esquerdo, b = direito;
  switch (Divide_Por_Zero(direito, operador) ? 0 : operador) {
  case '+':
    return Como_Texto(a + b);
  case '-':
    return Como_Texto(a - b);
  case '*':
    return Como_Texto(a * b);
  case '/':
    return Como_Texto(a / b);
  default:
    return "";
  }
}

// The quotient rounded half away from zero, or floored (`piso`), rather than cut
// toward zero.
extern "C" EMSCRIPTEN_KEEPALIVE const char *Quociente_Sem_Corte(int esquerdo, int direito,
                                                                int operador, int piso) {
  return operador != '/' || Divide_Por_Zero(direito, operador)
             ? ""
             : Como_Texto(Sem_Corte(esquerdo, direito, piso != 0));
}

// How many nodes may be alive at once from now on; 0 or less for no limit.
extern "C" EMSCRIPTEN_KEEPALIVE void Limita_Memoria(int nodos) {
  limite_de_nodos = nodos;
}

// The text the dialogue prints for a failure status, NUL-terminated; "" for none.
extern "C" EMSCRIPTEN_KEEPALIVE const char *Mensagem_Do_Status(int status) {
  const std::string_view mensagem = Mensagem_De_Erro(status);
  return mensagem.empty() ? "" : mensagem.data(); // each message is a literal
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
