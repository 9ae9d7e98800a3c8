// Fuzz target: the whole dialogue on arbitrary bytes cut into arbitrary reads, held to
// the model of the dialogue, whatever the cuts: the same output, status 0, no node
// left, and no read once input has ended.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "alocacao_controlada.hpp"
#include "analisar_exp_encad.hpp"
#include "captura.hpp"
#include "modelo.hpp"

namespace {

// The input and the sizes of the reads it comes in, in turn.
struct TLEITOR {
  std::string entrada;
  std::string tamanhos;
  std::size_t lido = 0, leituras = 0;
  bool terminou = false;
};
TLEITOR leitor;

void Confere(bool condicao, const char *o_que) {
  if (!condicao) {
    std::cerr << "fuzz_dialogo: " << o_que << "\n";
    std::abort();
  }
}

long Le_Em_Pedacos(char *destino, std::size_t capacidade) {
  Confere(!leitor.terminou, "a read after the end of input");
  std::size_t quanto = std::min(capacidade, leitor.entrada.size() - leitor.lido);
  if (!leitor.tamanhos.empty()) {
    const auto tamanho = static_cast<unsigned char>(
        leitor.tamanhos[leitor.leituras++ % leitor.tamanhos.size()]);
    quanto = std::min<std::size_t>(quanto, tamanho + 1u);
  }
  leitor.entrada.copy(destino, quanto, leitor.lido);
  leitor.lido += quanto;
  leitor.terminou = quanto == 0;
  return static_cast<long>(quanto);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  Instala_Alocacao_Controlada();
  return 0;
}

// The first byte says how many of the next ones, up to 7, are sizes of reads; the
// rest is the input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
  const std::string bytes(reinterpret_cast<const char *>(dados), tamanho);
  const std::size_t cortes =
      bytes.empty() ? 0 : std::min<std::size_t>(bytes[0] & 7, bytes.size() - 1);
  leitor = {bytes.substr(std::min<std::size_t>(1 + cortes, bytes.size())),
            bytes.substr(std::min<std::size_t>(1, bytes.size()), cortes)};
  Captura_Com(Le_Em_Pedacos);
  const int codigo = Executa_Dialogo();
  Descarrega_Saida();
  Confere(codigo == 0, "the dialogue failed");
  Confere(captura::saida == Modelo_Do_Dialogo(leitor.entrada),
          "the dialogue differs from the model");
  Confere(Nodos_Vivos() == 0, "a node survived the dialogue");
  return 0;
}
