// Entry point of the expression analyser: runs the dialogue on the standard streams,
// with line editing at a terminal, and reports on standard error a stream that failed.
#include <cstring>
#include <string>

#include "analisar_exp_encad.hpp"
#include "console.hpp"
#include "editor.hpp"
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
  const bool saida_e_tela = Saida_E_Tela();
  // A pipe, a file or a dumb terminal never sees a byte of the editor.
  if (saida_e_tela && Entrada_E_Terminal()) {
    Liga_Editor(Editor_De_Linha());
  }
  const int codigo = Executa_Dialogo(saida_e_tela);
  Encerra_Editor();
  Devolve_Ao_Descritor(0, Entrada_Nao_Usada());
  if (codigo != 0) {
    Relata_Falha(Falha_Do_Console());
  }
  return codigo;
}
