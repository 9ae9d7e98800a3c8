// Linked stack of 32-bit integers, one heap node per value, and its trace line.
#include "pilha.hpp"

#include <new>

#include "console.hpp"
#include "expressao.hpp"

// ---- Where nodes come from ----

namespace {

TNODO *Nodo_Do_Heap() {
  return new (std::nothrow) TNODO; // a node the heap cannot give is a full stack
}

void Libera_No_Heap(TNODO *nodo) {
  delete nodo;
}

TALOCADOR_DE_NODOS alocador = {Nodo_Do_Heap, Libera_No_Heap};

} // namespace

TALOCADOR_DE_NODOS Troca_Alocador_De_Nodos(TALOCADOR_DE_NODOS novo) {
  const TALOCADOR_DE_NODOS antigo = alocador;
  alocador = novo;
  return antigo;
}

// ---- The stack ----

void Cria_Pilha(TPILHA *pilha) {
  pilha->topo = nullptr;
}

int Push(TPILHA *pilha, int valor) {
  TNODO *nodo = alocador.aloca();
  if (nodo == nullptr) {
    return PILHA_CHEIA;
  }
  nodo->valor = valor;
  nodo->prox = pilha->topo;
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
  alocador.libera(nodo);
  return SUCESSO;
}

void destroi_pilha(TPILHA *pilha) {
  while (pilha->topo != nullptr) {
    TNODO *abaixo = pilha->topo->prox;
    alocador.libera(pilha->topo);
    pilha->topo = abaixo;
  }
}

// ---- The trace line ----

void exibe_pilha(int numero, TPILHA pilha) {
  Escreve_Texto("Pilha ");
  Escreve_Inteiro(numero);
  Escreve_Texto(": ");
  if (pilha.topo == nullptr) {
    Escreve_Texto("vazia");
  }
  for (const TNODO *nodo = pilha.topo; nodo != nullptr; nodo = nodo->prox) {
    // The choice hangs on the value alone, in both stacks: an operand of 42 shows as '*'.
    if (E_Operador(nodo->valor)) {
      Escreve_Caractere(static_cast<char>(nodo->valor));
    } else {
      Escreve_Inteiro(nodo->valor);
    }
  }
  Escreve_Caractere('\n');
}
