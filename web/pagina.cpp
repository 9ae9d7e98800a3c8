// Entry point of the course page: the dialogue runs on the page's terminal, bound
// through the console's seams; the page's script reads the lines and draws the text.
#include <cstddef>
#include <string_view>

#include <emscripten/emscripten.h>

#include "analisar_exp_encad.hpp"
#include "console.hpp"

namespace {

// The script's side is in terminal.mjs. A line waits for the user: the program is
// suspended there (asyncify) until the script has one, and takes it in pieces of at
// most `capacidade` bytes; null is the end of input. (JavaScript, which
// clang-format would take for C++.)
// clang-format off
EM_ASYNC_JS(long, Le_Linha_Da_Pagina, (const char *prompt, std::size_t tamanho,
                                       int historico, char *destino,
                                       std::size_t capacidade), {
  const parte = await Module.pagina.leLinha(UTF8ToString(prompt, tamanho),
                                            historico !== 0, capacidade);
  if (parte === null) {
    return 0;
  }
  HEAPU8.set(parte, destino);
  return parte.length;
});

EM_JS(void, Escreve_Na_Pagina, (const char *origem, std::size_t tamanho), {
  Module.pagina.escreve(HEAPU8.slice(origem, origem + tamanho));
});
// clang-format on

long Edita(std::string_view prompt, bool historico, char *destino,
           std::size_t capacidade) {
  return Le_Linha_Da_Pagina(prompt.data(), prompt.size(), historico, destino, capacidade);
}

bool Escreve(const char *origem, std::size_t tamanho) {
  Escreve_Na_Pagina(origem, tamanho);
  return true;
}

// Every line comes from the page's editor: there is nothing to read plainly.
long Nada_A_Ler(char *, std::size_t) {
  return 0;
}

} // namespace

// Runs one whole dialogue; the page calls it again to start another.
extern "C" EMSCRIPTEN_KEEPALIVE int Dialoga() {
  Liga_Console(Nada_A_Ler, Escreve);
  Liga_Editor(Edita);
  return Executa_Dialogo(true);
}
