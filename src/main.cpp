// Entry point of the expression analyser: runs the dialogue on the standard streams,
// with line editing at a terminal, and reports on standard error a stream that failed.
#include <string>

#include "analisar_exp_encad.hpp"
#include "console.hpp"
#include "editor.hpp"
#include "sistema.hpp"

namespace {

long Le_Entrada_Padrao(char *destino, std::size_t capacidade) {
  return Le_Descritor(0, destino, capacidade);
}

bool Escreve_Saida_Padrao(const char *origem, std::size_t tamanho) {
  return Escreve_Descritor(1, origem, tamanho);
}

} // namespace

int main() {
  Prepara_Fluxos_Padrao();
  const bool saida_e_tela = Saida_E_Tela();
  // A pipe, a file or the NUL device gets no byte and no process for a screen.
  Liga_Console(Le_Entrada_Padrao, Escreve_Saida_Padrao,
               saida_e_tela ? Limpa_A_Tela : nullptr);
  // Nor does a dumb terminal get a byte of the editor.
  if (saida_e_tela && Entrada_E_Terminal()) {
    Liga_Editor(Editor_De_Linha());
  }
  const int codigo = Executa_Dialogo();
  Encerra_Editor();
  Devolve_Ao_Descritor(0, Entrada_Nao_Usada());
  if (codigo != 0) {
    const std::string linha = Relato_Da_Falha(Falha_Do_Console());
    (void)Escreve_Descritor(2, linha.data(), linha.size());
  }
  return codigo;
}
