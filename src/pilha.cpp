// Linked stack of 32-bit integers, one heap node per value, and its trace line.
#include "pilha.hpp"

#include <new>

#include "console.hpp"

// Popped nodes are kept for the next pushes, a few dozen at most, and all of them go
// back to the heap whenever a stack is destroyed: an evaluation, which ends by
// destroying its stacks, asks the heap only for as many nodes as it holds at once
// and leaves none behind.
namespace {

TNODO *Nodo_Do_Heap() {
  return new (std::nothrow) TNODO; // a node the heap cannot give is a full stack
}

void Libera_No_Heap(TNODO *nodo) {
  delete nodo;
}

TALOCADOR_DE_NODOS alocador = {Nodo_Do_Heap, Libera_No_Heap};

constexpr int RESERVA_MAXIMA = 64;
TNODO *reserva = nullptr;
int nodos_na_reserva = 0;

TNODO *Obtem_Nodo() {
  TNODO *nodo = reserva;
  if (nodo == nullptr) {
    return alocador.aloca();
  }
  reserva = nodo->prox;
  --nodos_na_reserva;
  return nodo;
}

void Devolve_Nodo(TNODO *nodo) {
  if (nodos_na_reserva == RESERVA_MAXIMA) {
    alocador.libera(nodo);
    return;
  }
  nodo->prox = reserva;
  reserva = nodo;
  ++nodos_na_reserva;
}

void Libera_Cadeia(TNODO *nodo) {
  while (nodo != nullptr) {
    TNODO *abaixo = nodo->prox;
    alocador.libera(nodo);
    nodo = abaixo;
  }
}

void Esvazia_Reserva() {
  Libera_Cadeia(reserva);
  reserva = nullptr;
  nodos_na_reserva = 0;
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
  Esvazia_Reserva();
}

namespace {

// The choice hangs on the value alone, in both stacks: an operand of 42 shows as '*'.
void Escreve_Valor(int valor) {
  if (valor == '+' || valor == '-' || valor == '*' || valor == '/') {
    Escreve_Caractere(static_cast<char>(valor));
  } else {
    Escreve_Inteiro(valor);
  }
}

} // namespace

void exibe_pilha(int numero, TPILHA pilha) {
  Escreve_Texto("Pilha ");
  Escreve_Inteiro(numero);
  Escreve_Texto(": ");
  if (pilha.topo == nullptr) {
    Escreve_Texto("vazia");
  }
  for (const TNODO *nodo = pilha.topo; nodo != nullptr; nodo = nodo->prox) {
    Escreve_Valor(nodo->valor);
  }
  Escreve_Caractere('\n');
}

TALOCADOR_DE_NODOS Troca_Alocador_De_Nodos(TALOCADOR_DE_NODOS novo) {
  Esvazia_Reserva(); // each node goes back to the allocator it came from
  const TALOCADOR_DE_NODOS antigo = alocador;
  alocador = novo;
  return antigo;
}
