// Buffered console: input taken in blocks as it arrives, output gathered in one block
// and written whole, flushed before every read, the only place the program may wait.
#include "console.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <utility>

#include "sistema.hpp"

namespace {

long Le_Entrada_Padrao(char *destino, std::size_t capacidade) {
  return Le_Descritor(0, destino, capacidade);
}

bool Escreve_Saida_Padrao(const char *origem, std::size_t tamanho) {
  return Escreve_Descritor(1, origem, tamanho);
}

TLEITURA le = Le_Entrada_Padrao;
TESCRITA escreve = Escreve_Saida_Padrao;

char saida[BLOCO_DE_SAIDA];
std::size_t escrito = 0;

char entrada[1 << 16];
std::size_t lido = 0, recebido = 0; // entrada[lido, recebido) is still to be read
bool terminou = false;              // input has ended, or an end has failed
bool descarta_quebra = false;       // a "\n" arriving next ends the line a '\r' began

TEDITOR editor = nullptr;
std::string_view prompt_do_editor; // the prompt's last line, until the editor draws it
bool historico = false;            // the lines being read are expressions

TFALHA_DO_CONSOLE falha = {false, 0};
bool escrita_falhou = false;

// The first failure is the one reported: a read that fails at a terminal that hung
// up is followed by a write that fails too.
void Registra_Falha(bool leitura) {
  if (falha.erro == 0) {
    falha = {leitura, errno != 0 ? errno : EIO};
  }
  if (!leitura) {
    escrita_falhou = true;
  }
  terminou = true;
}

} // namespace

void Liga_Console(TLEITURA nova_leitura, TESCRITA nova_escrita) {
  le = nova_leitura;
  escreve = nova_escrita;
  escrito = lido = recebido = 0;
  terminou = descarta_quebra = false;
  editor = nullptr;
  prompt_do_editor = {};
  falha = {false, 0};
  escrita_falhou = false;
}

void Liga_Editor(TEDITOR novo) {
  editor = novo;
}

// ---- Output --------------------------------------------------------------------

// Rare beside the writes into the block, and kept out of them.
[[gnu::noinline]] void Descarrega_Saida() {
  // After a failed write nothing more goes out: the failure is reported instead.
  if (escrito > 0 && !escrita_falhou && !escreve(saida, escrito)) {
    Registra_Falha(false);
  }
  escrito = 0;
}

namespace {

// The rare paths of the three calls below, out of line, so that the common one, a
// piece that fits the block, is small enough to be inlined where it is called.
[[gnu::noinline]] void Divide_Entre_Blocos(std::string_view texto) {
  while (texto.size() > sizeof saida - escrito) {
    const std::size_t cabe = sizeof saida - escrito;
    std::memcpy(saida + escrito, texto.data(), cabe);
    escrito += cabe;
    texto.remove_prefix(cabe);
    Descarrega_Saida();
  }
  std::memcpy(saida + escrito, texto.data(), texto.size());
  escrito += texto.size();
}

[[gnu::noinline]] void Escreve_Numero(int valor) {
  char texto[11]; // "-2147483648"
  const char *fim = std::to_chars(texto, texto + sizeof texto, valor).ptr;
  Escreve_Texto(std::string_view(texto, static_cast<std::size_t>(fim - texto)));
}

} // namespace

void Escreve_Texto(std::string_view texto) {
  if (texto.size() > sizeof saida - escrito) {
    Divide_Entre_Blocos(texto);
    return;
  }
  std::memcpy(saida + escrito, texto.data(), texto.size());
  escrito += texto.size();
}

void Escreve_Caractere(char caractere) {
  if (escrito == sizeof saida) {
    Descarrega_Saida();
  }
  saida[escrito++] = caractere;
}

void Escreve_Inteiro(int valor) {
  if (valor < 0 || valor > 9) { // almost every value traced is a single digit
    Escreve_Numero(valor);
    return;
  }
  Escreve_Caractere(static_cast<char>('0' + valor));
}

// ---- Input ---------------------------------------------------------------------

namespace {

// Takes the next block, whatever is available. The output goes first: a person must
// see every prompt before the program waits for an answer.
bool Recebe() {
  Descarrega_Saida();
  if (terminou) {
    return false;
  }
  // The prompt is drawn once: a line that holds no answer is followed by a bare one.
  const long lidos = editor != nullptr ? editor(std::exchange(prompt_do_editor, {}),
                                                historico, entrada, sizeof entrada)
                                       : le(entrada, sizeof entrada);
  if (lidos <= 0) {
    terminou = true; // even at a terminal, one end of input is the end
    if (lidos < 0) {
      Registra_Falha(true);
    }
    return false;
  }
  lido = 0;
  recebido = static_cast<std::size_t>(lidos);
  return true;
}

bool Ha_Entrada() {
  for (;;) {
    if (lido == recebido && !Recebe()) {
      return false;
    }
    if (!descarta_quebra) {
      return true;
    }
    descarta_quebra = false;
    lido += entrada[lido] == '\n';
  }
}

// The editor draws the prompt's last line itself, and redraws it as the line is
// edited; what the console holds already is used first, as if it had been typed.
void Mostra_Prompt(std::string_view prompt, bool de_expressao) {
  historico = de_expressao;
  if (editor == nullptr || lido != recebido || terminou) {
    Escreve_Texto(prompt);
    return;
  }
  const std::size_t corte = prompt.rfind('\n') + 1; // 0 when there is none
  Escreve_Texto(prompt.substr(0, corte));
  prompt_do_editor = prompt.substr(corte);
}

bool Le_Linha_Mostrada(char *texto, std::size_t capacidade, std::size_t *tamanho) {
  if (!Ha_Entrada()) {
    return false;
  }
  std::size_t comprimento = 0; // of the whole line, which may be far longer than kept
  char ultimo = '\0';
  bool quebra = false;
  do {
    const char *inicio = entrada + lido;
    const std::size_t resto = recebido - lido;
    const auto *fim = static_cast<const char *>(std::memchr(inicio, '\n', resto));
    const std::size_t trecho =
        fim != nullptr ? static_cast<std::size_t>(fim - inicio) : resto;
    if (comprimento < capacidade) {
      std::memcpy(texto + comprimento, inicio,
                  std::min(trecho, capacidade - comprimento));
    }
    comprimento += trecho;
    ultimo = trecho > 0 ? inicio[trecho - 1] : ultimo;
    quebra = fim != nullptr;
    lido += trecho + quebra;
  } while (!quebra && Ha_Entrada());
  if (quebra && ultimo == '\r') {
    --comprimento; // "\r\n" is one line end, as a file from Windows has it
  }
  *tamanho = std::min(comprimento, capacidade);
  return true;
}

} // namespace

int Le_Caractere(std::string_view prompt) {
  if (!prompt.empty()) {
    Mostra_Prompt(prompt, false);
  }
  return Ha_Entrada() ? static_cast<unsigned char>(entrada[lido++]) : FIM_DA_ENTRADA;
}

bool Le_Linha(std::string_view prompt, char *texto, std::size_t capacidade,
              std::size_t *tamanho) {
  Mostra_Prompt(prompt, true);
  return Le_Linha_Mostrada(texto, capacidade, tamanho);
}

void Descarta_Fim_De_Linha() {
  descarta_quebra = Le_Caractere() == '\r';
}

// ---- The end -------------------------------------------------------------------

TFALHA_DO_CONSOLE Falha_Do_Console() {
  return falha;
}

std::size_t Entrada_Nao_Usada() {
  const std::size_t resto = recebido - lido;
  // A "\n" already here that ends the answer's line was used, though not yet dropped.
  return resto - (descarta_quebra && resto > 0 && entrada[lido] == '\n');
}
