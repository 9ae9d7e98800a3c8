// Test control over the program's heap: replaces the global allocation functions so
// that node allocations can fail on demand and live nodes can be counted.
#include "alocacao_controlada.hpp"

#include <cstdlib>
#include <new>

namespace {

long proxima_falha = 0; // 0: disarmed
bool falhas_seguidas = false;
bool falha_ocorreu = false;
long nodos_vivos = 0;
std::size_t bytes_alocados = 0;

// Each block carries a header that says whether it is a node, so that delete, which
// cannot tell the two kinds apart, keeps the count of live nodes right.
constexpr std::size_t CABECALHO = alignof(std::max_align_t);
constexpr unsigned char NODO = 1;

void *Aloca(std::size_t tamanho, unsigned char tipo) {
  auto *bloco = static_cast<unsigned char *>(std::malloc(tamanho + CABECALHO));
  if (bloco == nullptr) {
    return nullptr;
  }
  bloco[0] = tipo;
  bytes_alocados += tamanho;
  nodos_vivos += tipo == NODO;
  return bloco + CABECALHO;
}

void Libera(void *memoria) {
  if (memoria == nullptr) {
    return;
  }
  unsigned char *bloco = static_cast<unsigned char *>(memoria) - CABECALHO;
  nodos_vivos -= bloco[0] == NODO;
  std::free(bloco);
}

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

} // namespace

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

void *operator new(std::size_t tamanho, const std::nothrow_t &) noexcept {
  return Deve_Falhar() ? nullptr : Aloca(tamanho, NODO);
}

void *operator new(std::size_t tamanho) {
  void *memoria = Aloca(tamanho, 0);
  if (memoria == nullptr) {
    throw std::bad_alloc();
  }
  return memoria;
}

void operator delete(void *memoria) noexcept {
  Libera(memoria);
}

void operator delete(void *memoria, std::size_t) noexcept {
  Libera(memoria);
}
