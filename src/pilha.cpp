// Linked stack of 32-bit integers, one heap node per value, and its trace line.
#include "pilha.hpp"

#include <cstring>
#include <new>
#include <string_view>

#include "console.hpp"

// Popped nodes are kept for the next pushes, a few dozen at most, and all of them go
// back to the heap whenever a stack is destroyed: an evaluation, which ends by
// destroying its stacks, asks the heap only for as many nodes as it holds at once
// and leaves none behind.
namespace {

constexpr int RESERVA_MAXIMA = 64;
TNODO *reserva = nullptr;
int nodos_na_reserva = 0;

TNODO *Obtem_Nodo() {
  TNODO *nodo = reserva;
  if (nodo == nullptr) {
    return new (std::nothrow) TNODO; // a node the heap cannot give is a full stack
  }
  reserva = nodo->prox;
  --nodos_na_reserva;
  return nodo;
}

void Devolve_Nodo(TNODO *nodo) {
  if (nodos_na_reserva == RESERVA_MAXIMA) {
    delete nodo;
    return;
  }
  nodo->prox = reserva;
  reserva = nodo;
  ++nodos_na_reserva;
}

void Libera_Cadeia(TNODO *nodo) {
  while (nodo != nullptr) {
    TNODO *abaixo = nodo->prox;
    delete nodo;
    nodo = abaixo;
  }
}

} // namespace

void Cria_Pilha(TPILHA *pilha) {
  pilha->topo = nullptr;
}

int Push(TPILHA *pilha, int valor) {
  TNODO *nodo = Obtem_Nodo();
  if (nodo == nullptr) {
    return PILHA_CHEIA;
  }
  *nodo = TNODO{valor, pilha->topo};
  pilha->topo = nodo;
  return SUCESSO;
}

int Pop(TPILHA *pilha, int *valor) {
  TNODO *nodo = pilha->topo;
  if (nodo == nullptr) {
    return PILHA_VAZIA;
  }
  *valor = nodo->valor;
  pilha->topo = nodo->prox;
  Devolve_Nodo(nodo);
  return SUCESSO;
}

void destroi_pilha(TPILHA *pilha) {
  Libera_Cadeia(pilha->topo);
  pilha->topo = nullptr;
  Libera_Cadeia(reserva);
  reserva = nullptr;
  nodos_na_reserva = 0;
}

namespace {

constexpr std::size_t TRECHO = 64;      // taken from the output at a time
constexpr std::size_t MAIOR_VALOR = 11; // "-2147483648"

char *Copia(char *destino, std::string_view texto) {
  std::memcpy(destino, texto.data(), texto.size());
  return destino + texto.size();
}

// The choice hangs on the value alone, in both stacks: an operand of 42 shows as '*'.
char *Formata_Valor(char *destino, int valor) {
  if (valor == '+' || valor == '-' || valor == '*' || valor == '/') {
    *destino = static_cast<char>(valor);
    return destino + 1;
  }
  return Formata_Inteiro(destino, valor);
}

} // namespace

// Formatted in place at the end of the output, since one line follows every push; a
// deep stack takes more than one piece of the output.
void exibe_pilha(int numero, TPILHA pilha) {
  char *fim = Reserva_Saida(TRECHO);
  const char *limite = fim + TRECHO - MAIOR_VALOR - 1; // room left for a value and '\n'
  fim = Copia(fim, "Pilha ");
  fim = Formata_Inteiro(fim, numero);
  fim = Copia(fim, ": ");
  if (pilha.topo == nullptr) {
    fim = Copia(fim, "vazia");
  }
  for (const TNODO *nodo = pilha.topo; nodo != nullptr; nodo = nodo->prox) {
    if (fim > limite) {
      Confirma_Saida(fim);
      fim = Reserva_Saida(TRECHO);
      limite = fim + TRECHO - MAIOR_VALOR - 1;
    }
    fim = Formata_Valor(fim, nodo->valor);
  }
  *fim++ = '\n';
  Confirma_Saida(fim);
}
