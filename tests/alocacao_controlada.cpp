// Test control over the program's heap: the stacks' node allocator is replaced by one
// that fails on demand and counts live nodes, and the global allocation functions by
// ones that count bytes.
#include "alocacao_controlada.hpp"

#include <cstdlib>
#include <new>

#include "pilha.hpp"

namespace {

long proxima_falha = 0; // 0: disarmed
bool falhas_seguidas = false;
bool falha_ocorreu = false;
long nodos_vivos = 0;
std::size_t bytes_alocados = 0;

bool Deve_Falhar() {
  if (proxima_falha == 0) {
    return false;
  }
  if (proxima_falha > 1) {
    --proxima_falha;
    return false;
  }
  falha_ocorreu = true;
  proxima_falha = falhas_seguidas ? 1 : 0;
  return true;
}

TNODO *Aloca_Nodo() {
  if (Deve_Falhar()) {
    return nullptr;
  }
  TNODO *nodo = new (std::nothrow) TNODO;
  nodos_vivos += nodo != nullptr;
  return nodo;
}

void Libera_Nodo(TNODO *nodo) {
  --nodos_vivos;
  delete nodo;
}

} // namespace

void Instala_Alocacao_Controlada() {
  Troca_Alocador_De_Nodos({Aloca_Nodo, Libera_Nodo});
}

void Falha_Nodo(long k, bool todas_depois) {
  proxima_falha = k;
  falhas_seguidas = todas_depois;
  falha_ocorreu = false;
}

void Desarma_Falhas() {
  proxima_falha = 0;
}

bool Falha_Ocorreu() {
  return falha_ocorreu;
}

long Nodos_Vivos() {
  return nodos_vivos;
}

std::size_t Bytes_Alocados() {
  return bytes_alocados;
}

// Both forms are replaced, so that every block, a node or not, goes back to free().
void *operator new(std::size_t tamanho, const std::nothrow_t &) noexcept {
  void *memoria = std::malloc(tamanho != 0 ? tamanho : 1);
  bytes_alocados += memoria != nullptr ? tamanho : 0;
  return memoria;
}

void *operator new(std::size_t tamanho) {
  void *memoria = operator new(tamanho, std::nothrow);
  if (memoria == nullptr) {
    throw std::bad_alloc();
  }
  return memoria;
}

void operator delete(void *memoria) noexcept {
  std::free(memoria);
}

void operator delete(void *memoria, std::size_t) noexcept {
  std::free(memoria);
}
