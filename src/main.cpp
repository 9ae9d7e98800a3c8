// Entry point of the expression analyser: runs the dialogue on the standard streams
// and reports on standard error a stream that failed.
#include <cstring>
#include <string>

#include "analisar_exp_encad.hpp"
#include "console.hpp"
#include "sistema.hpp"

namespace {

// The one line the program ever writes to standard error.
void Relata_Falha(TFALHA_DO_CONSOLE falha) {
  std::string linha = "analisar_exp_encad: ";
  linha += falha.leitura ? "falha ao ler a entrada padrao: "
                         : "falha ao escrever na saida padrao: ";
  linha += std::strerror(falha.erro);
  linha += '\n';
  (void)Escreve_Descritor(2, linha.data(), linha.size());
}

} // namespace

int main() {
  Prepara_Fluxos_Padrao();
  const int codigo = Executa_Dialogo(Saida_E_Tela());
  Devolve_Ao_Descritor(0, Entrada_Nao_Usada());
  if (codigo != 0) {
    Relata_Falha(Falha_Do_Console());
  }
  return codigo;
}
