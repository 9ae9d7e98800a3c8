// Linked stack of 32-bit integers, one heap node per value, and its trace line.
#pragma once

#include "status.hpp"

struct TNODO {
  int valor;
  TNODO *prox;
};

struct TPILHA {
  TNODO *topo;
};

void Cria_Pilha(TPILHA *pilha);

// PILHA_CHEIA, with the stack unchanged, when no node can be had.
int Push(TPILHA *pilha, int valor);

// PILHA_VAZIA, with the stack and the target unchanged, when the stack is empty;
// otherwise the top node is released.
int Pop(TPILHA *pilha, int *valor);

// Releases every node, from the top down, and leaves the stack empty.
void destroi_pilha(TPILHA *pilha);

// Prints "Pilha <numero>: " and the values from the top down, run together.
void exibe_pilha(int numero, TPILHA pilha);

// ---- Where nodes come from ----

// Every node is taken from and given back to the heap through these two; a test puts
// its own in place to make an allocation fail or to count live nodes. `aloca` returns
// null when it has no node, which Push reports as PILHA_CHEIA.
struct TALOCADOR_DE_NODOS {
  TNODO *(*aloca)();
  void (*libera)(TNODO *nodo);
};

// Returns the allocator that was in use. Only an empty stack may see the change: a
// node goes back to the allocator it came from.
TALOCADOR_DE_NODOS Troca_Alocador_De_Nodos(TALOCADOR_DE_NODOS novo);
