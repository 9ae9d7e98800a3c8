// Linked stack of 32-bit integers, one heap node per value, and its trace line.
#include "pilha.hpp"

#include <cstring>
#include <new>
#include <string_view>

#include "saida.hpp"

void Cria_Pilha(TPILHA *pilha) {
  pilha->topo = nullptr;
}

int Push(TPILHA *pilha, int valor) {
  // A node the heap cannot give is a full stack, not the end of the program.
  TNODO *nodo = new (std::nothrow) TNODO{valor, pilha->topo};
  if (nodo == nullptr) {
    return PILHA_CHEIA;
  }
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
  delete nodo;
  return SUCESSO;
}

void destroi_pilha(TPILHA *pilha) {
  while (pilha->topo != nullptr) {
    TNODO *abaixo = pilha->topo->prox;
    delete pilha->topo;
    pilha->topo = abaixo;
  }
}

namespace {

// Long enough for the prefix and a few values; a deeper stack is printed in pieces.
constexpr std::size_t TAMANHO_TRECHO = 128;
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

void exibe_pilha(int numero, TPILHA pilha) {
  char trecho[TAMANHO_TRECHO];
  char *fim = Copia(trecho, "Pilha ");
  fim = Formata_Inteiro(fim, numero);
  fim = Copia(fim, ": ");
  if (pilha.topo == nullptr) {
    fim = Copia(fim, "vazia");
  }
  for (const TNODO *nodo = pilha.topo; nodo != nullptr; nodo = nodo->prox) {
    if (fim + MAIOR_VALOR + 1 > trecho + TAMANHO_TRECHO) {
      Escreve_Texto(std::string_view(trecho, static_cast<std::size_t>(fim - trecho)));
      fim = trecho;
    }
    fim = Formata_Valor(fim, nodo->valor);
  }
  *fim++ = '\n';
  Escreve_Texto(std::string_view(trecho, static_cast<std::size_t>(fim - trecho)));
}
