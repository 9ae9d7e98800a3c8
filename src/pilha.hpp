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
int Push(TPILHA *pilha, int valor);
int Pop(TPILHA *pilha, int *valor);
void destroi_pilha(TPILHA *pilha);

// Prints "Pilha <numero>: " and the values from the top down, run together.
void exibe_pilha(int numero, TPILHA pilha);
