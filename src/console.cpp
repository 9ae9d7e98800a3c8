// Buffered console: input taken in blocks as it arrives, output gathered in one block
// and written whole, flushed before every read, the only place the program may wait.
#include "console.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <utility>

namespace {

char saida[BLOCO_DE_SAIDA];
char entrada[1 << 16];

// Everything the console knows besides the bytes in the two blocks.
struct TCONSOLE {
  TLEITURA le = nullptr;
  TESCRITA escreve = nullptr;
  TLIMPEZA limpa = nullptr;
  TEDITOR editor = nullptr;
  std::size_t escrito = 0;            // saida[0, escrito) is still to be written
  std::size_t lido = 0, recebido = 0; // entrada[lido, recebido) is still to be read
  bool terminou = false;              // input has ended, or an end has failed
  bool descarta_quebra = false;       // a "\n" arriving next ends the line a '\r' began
  bool escrita_falhou = false;
  TFALHA_DO_CONSOLE falha = {false, 0};
};
TCONSOLE console;

// The first failure is the one reported: a read that fails at a terminal that hung
// up is followed by a write that fails too.
void Registra_Falha(bool leitura) {
  if (console.falha.erro == 0) {
    console.falha = {leitura, errno != 0 ? errno : EIO};
  }
  if (!leitura) {
    console.escrita_falhou = true;
  }
  console.terminou = true;
}

} // namespace

void Liga_Console(TLEITURA le, TESCRITA escreve, TLIMPEZA limpa) {
  console = {le, escreve, limpa};
}

void Liga_Editor(TEDITOR editor) {
  console.editor = editor;
}

// ---- Output --------------------------------------------------------------------

// Rare beside the writes into the block, and kept out of them.
[[gnu::noinline]] void Descarrega_Saida() {
  // After a failed write nothing more goes out: the failure is reported instead.
  if (console.escrito > 0 && !console.escrita_falhou &&
      !console.escreve(saida, console.escrito)) {
    Registra_Falha(false);
  }
  console.escrito = 0;
}

// Once a cycle at most, and only at a screen.
void Limpa_Tela() {
  if (console.limpa == nullptr) {
    return;
  }
  // Mostly it is out already and this writes nothing; not when the answer came from
  // input read ahead, or where the clearing end writes itself.
  Descarrega_Saida();
  if (!console.escrita_falhou) {
    console.limpa();
  }
}

namespace {

// The rare paths of the three calls below, out of line, so that the common one, a
// piece that fits the block, is small enough to be inlined where it is called.
[[gnu::noinline]] void Divide_Entre_Blocos(std::string_view texto) {
  while (texto.size() > sizeof saida - console.escrito) {
    const std::size_t cabe = sizeof saida - console.escrito;
    std::memcpy(saida + console.escrito, texto.data(), cabe);
    console.escrito += cabe;
    texto.remove_prefix(cabe);
    Descarrega_Saida();
  }
  std::memcpy(saida + console.escrito, texto.data(), texto.size());
  console.escrito += texto.size();
}

[[gnu::noinline]] void Escreve_Numero(int valor) {
  char texto[11]; // "-2147483648"
  const char *fim = std::to_chars(texto, texto + sizeof texto, valor).ptr;
  Escreve_Texto(std::string_view(texto, static_cast<std::size_t>(fim - texto)));
}

} // namespace

void Escreve_Texto(std::string_view texto) {
  if (texto.size() > sizeof saida - console.escrito) {
    Divide_Entre_Blocos(texto);
    return;
  }
  std::memcpy(saida + console.escrito, texto.data(), texto.size());
  console.escrito += texto.size();
}

void Escreve_Caractere(char caractere) {
  if (console.escrito == sizeof saida) {
    Descarrega_Saida();
  }
  saida[console.escrito++] = caractere;
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

// Takes the next block, whatever is available, from the editor with the prompt it is
// to draw, or else from the read end. The output goes first: a person must see every
// prompt before the program waits for an answer.
bool Recebe(std::string_view prompt, bool historico) {
  Descarrega_Saida();
  if (console.terminou) {
    return false;
  }
  const long lidos = console.editor != nullptr
                         ? console.editor(prompt, historico, entrada, sizeof entrada)
                         : console.le(entrada, sizeof entrada);
  if (lidos <= 0) {
    console.terminou = true; // even at a terminal, one end of input is the end
    if (lidos < 0) {
      Registra_Falha(true);
    }
    return false;
  }
  console.lido = 0;
  console.recebido = static_cast<std::size_t>(lidos);
  return true;
}

// The prompt is drawn once: a line asked of the editor after the first has none.
[[gnu::noinline]] bool Recebe_Ou_Descarta(std::string_view *prompt, bool historico) {
  for (;;) {
    if (console.lido == console.recebido &&
        !Recebe(std::exchange(*prompt, {}), historico)) {
      return false;
    }
    if (!console.descarta_quebra) {
      return true;
    }
    console.descarta_quebra = false;
    console.lido += entrada[console.lido] == '\n';
  }
}

// Almost always the byte is here already, and nothing is to be dropped before it.
bool Ha_Entrada(std::string_view *prompt, bool historico) {
  if (console.lido < console.recebido && !console.descarta_quebra) {
    return true;
  }
  return Recebe_Ou_Descarta(prompt, historico);
}

// The editor draws the prompt itself, and redraws it as the line is edited; what the
// console holds already is used first, as if it had been typed, after the prompt
// written out. Returns the prompt left for the editor to draw.
std::string_view Mostra_Prompt(std::string_view prompt) {
  if (console.editor == nullptr || console.lido != console.recebido || console.terminou) {
    Escreve_Texto(prompt);
    return {};
  }
  return prompt;
}

bool Le_Linha_Mostrada(std::string_view prompt, bool historico, char *texto,
                       std::size_t capacidade, std::size_t *tamanho) {
  if (!Ha_Entrada(&prompt, historico)) {
    return false;
  }
  std::size_t comprimento = 0; // of the whole line, which may be far longer than kept
  char ultimo = '\0';
  bool quebra = false;
  do {
    const char *inicio = entrada + console.lido;
    const std::size_t resto = console.recebido - console.lido;
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
    console.lido += trecho + quebra;
  } while (!quebra && Ha_Entrada(&prompt, historico));
  if (quebra && ultimo == '\r') {
    --comprimento; // "\r\n" is one line end, as a file from Windows has it
  }
  *tamanho = std::min(comprimento, capacidade);
  return true;
}

} // namespace

int Le_Caractere(std::string_view prompt, bool historico) {
  if (!prompt.empty()) {
    prompt = Mostra_Prompt(prompt);
  }
  return Ha_Entrada(&prompt, historico)
             ? static_cast<unsigned char>(entrada[console.lido++])
             : FIM_DA_ENTRADA;
}

bool Le_Linha(std::string_view prompt, bool historico, char *texto,
              std::size_t capacidade, std::size_t *tamanho) {
  return Le_Linha_Mostrada(Mostra_Prompt(prompt), historico, texto, capacidade, tamanho);
}

void Descarta_Fim_De_Linha() {
  console.descarta_quebra = Le_Caractere() == '\r';
}

// ---- The end -------------------------------------------------------------------

TFALHA_DO_CONSOLE Falha_Do_Console() {
  return console.falha;
}

std::string Relato_Da_Falha(TFALHA_DO_CONSOLE falha) {
  std::string linha = "analisar_exp_encad: ";
  linha += falha.leitura ? "falha ao ler a entrada padrao: "
                         : "falha ao escrever na saida padrao: ";
  linha += std::strerror(falha.erro);
  return linha + '\n';
}

std::size_t Entrada_Nao_Usada() {
  const std::size_t resto = console.recebido - console.lido;
  // A "\n" already here that ends the answer's line was used, though not yet dropped.
  return resto - (console.descarta_quebra && resto > 0 && entrada[console.lido] == '\n');
}
