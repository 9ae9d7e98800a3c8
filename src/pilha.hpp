// Linked stack of 32-bit integers, one heap node per value, and its trace line.
#pragma once

struct TNODO {
  int valor;
  TNODO *prox;
};

struct TPILHA {
  TNODO *topo;
};

// Status codes shared by the whole program; the evaluation adds DIVISAO_POR_ZERO.
constexpr int SUCESSO = 0;
constexpr int PILHA_CHEIA = 1;
constexpr int PILHA_VAZIA = 2;

void Cria_Pilha(TPILHA *pilha);

// PILHA_CHEIA, with the stack unchanged, when no node can be had.
int Push(TPILHA *pilha, int valor);

// PILHA_VAZIA, with the stack and the target unchanged, when the stack is empty. The
// node is kept for a later push until a stack is destroyed.
int Pop(TPILHA *pilha, int *valor);

// Returns to the heap every node of the stack and every node kept from earlier pops.
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

// Returns the allocator that was in use.
TALOCADOR_DE_NODOS Troca_Alocador_De_Nodos(TALOCADOR_DE_NODOS novo);
