// Line editing and history of the expressions at a terminal, through libedit (the
// BSD editline library) where the build has it.
#include "editor.hpp"

#ifdef COM_EDICAO_DE_LINHA

#include <algorithm>
#include <cerrno>
#include <climits>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>

#include <histedit.h>
#include <termios.h>
#include <unistd.h>

#include "sistema.hpp"

namespace {

EditLine *editor = nullptr;
HistoryW *expressoes = nullptr; // what Up and Down go through at the expression's prompt
HistoryW *nenhuma = nullptr;    // and at the answer's: nothing
std::string prompt;

// libedit's complaints, which never go to standard error: the program writes there
// only the line of a failed stream.
FILE *avisos = nullptr;
char *texto_dos_avisos = nullptr;
std::size_t tamanho_dos_avisos = 0;

// ---- Signals ----

// libedit looks after the terminal on signals only around reads of its own, and the
// editor reads through the program's: the program looks after it. A signal that ends
// the program, and Ctrl-Z, leave the terminal as the program found it; back from
// Ctrl-Z, the terminal gets its mode again and the line is drawn anew, and a resize
// is taken in at once.
constexpr int SINAIS[] = {SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGTSTP, SIGCONT, SIGWINCH};

termios terminal_encontrado;
volatile std::sig_atomic_t voltou = 0, mudou_o_tamanho = 0;

extern "C" void Trata_Sinal(int sinal);

void Instala(int sinal, void (*tratamento)(int)) {
  struct sigaction acao = {};
  acao.sa_handler = tratamento;
  sigemptyset(&acao.sa_mask);
  (void)sigaction(sinal, &acao, nullptr); // no SA_RESTART: the read must see it
}

// Gives the terminal back and lets the signal do what it does by default: end the
// program, or stop it until fg.
void Deixa_O_Terminal(int sinal) {
  termios modo;
  const bool tem_modo = tcgetattr(STDIN_FILENO, &modo) == 0;
  (void)tcsetattr(STDIN_FILENO, TCSADRAIN, &terminal_encontrado);
  Instala(sinal, SIG_DFL);
  sigset_t so_ele;
  sigemptyset(&so_ele);
  sigaddset(&so_ele, sinal);
  (void)sigprocmask(SIG_UNBLOCK, &so_ele, nullptr);
  (void)raise(sinal);
  if (tem_modo) {
    (void)tcsetattr(STDIN_FILENO, TCSADRAIN, &modo);
  }
  Instala(sinal, Trata_Sinal);
}

extern "C" void Trata_Sinal(int sinal) {
  const int erro = errno;
  if (sinal == SIGWINCH) {
    mudou_o_tamanho = 1;
  } else if (sinal == SIGCONT) {
    voltou = 1;
  } else {
    Deixa_O_Terminal(sinal);
  }
  errno = erro;
}

// What a signal leaves to do, once the read it interrupted can go on.
void Apos_Sinal() {
  if (mudou_o_tamanho != 0) {
    mudou_o_tamanho = 0;
    el_resize(editor);
  }
  if (voltou != 0) {
    voltou = 0;
    el_set(editor, EL_REFRESH);
  }
}

// Signals the program ignores, as under nohup, stay ignored.
void Trata_Sinais(void (*tratamento)(int)) {
  for (const int sinal : SINAIS) {
    struct sigaction atual = {};
    (void)sigaction(sinal, nullptr, &atual);
    if (atual.sa_handler != SIG_IGN) {
      Instala(sinal, tratamento);
    }
  }
}

// ---- Bytes and characters ----

// A byte that is no character of the locale stands for itself as U+DC00 plus the
// byte, a code no encoding produces (the "surrogateescape" of Python): the editor
// shows it as \U+DCxx, and it goes back into the line as the byte it was, so that a
// line counts the same bytes at a terminal as through a pipe.
constexpr wchar_t BYTE_AVULSO = 0xDC00;

constexpr std::size_t INCOMPLETO = static_cast<std::size_t>(-2); // from mbrtowc

char bytes[MB_LEN_MAX]; // read from the terminal, not yet handed over as a character
std::size_t em_bytes = 0;
bool leitura_falhou = false;

// The editor's read is the program's own, a byte at a time: a non-blocking terminal
// is waited on, an interrupted read retried and a failed one reported, as for every
// other read. 1 with a character, 0 at the end of input, -1 on a failure.
int Le_Do_Terminal(EditLine *, wchar_t *caractere) {
  std::size_t usados = 0;
  for (;;) {
    if (em_bytes > 0) {
      std::mbstate_t estado{};
      usados = std::mbrtowc(caractere, bytes, em_bytes, &estado);
      // No character is longer than MB_LEN_MAX bytes: a full buffer that makes none
      // begins with a stray byte.
      if (usados != INCOMPLETO || em_bytes == sizeof bytes) {
        break;
      }
    }
    Apos_Sinal(); // for a signal that came while the editor was drawing
    const long lidos = Le_Descritor(STDIN_FILENO, bytes + em_bytes, 1, Apos_Sinal);
    if (lidos <= 0) {
      leitura_falhou = lidos < 0;
      return static_cast<int>(lidos);
    }
    ++em_bytes;
  }
  if (usados > em_bytes) { // no character, or the start of none
    *caractere = BYTE_AVULSO + static_cast<unsigned char>(bytes[0]);
    usados = 1;
  }
  usados = std::max<std::size_t>(usados, 1); // a NUL byte counts as one
  em_bytes -= usados;
  std::memmove(bytes, bytes + usados, em_bytes);
  return 1;
}

// The line el_wgets gave, in bytes, and how much of it is handed over.
std::string linha;
std::size_t entregue = 0;

void Guarda_Em_Bytes(const wchar_t *caracteres, int quantos) {
  linha.clear();
  entregue = 0;
  char codigo[MB_LEN_MAX];
  std::mbstate_t estado{};
  for (const wchar_t caractere :
       std::wstring_view(caracteres, static_cast<std::size_t>(quantos))) {
    if (caractere >= BYTE_AVULSO && caractere <= BYTE_AVULSO + 0xFF) {
      linha += static_cast<char>(caractere - BYTE_AVULSO);
      continue;
    }
    const std::size_t tamanho = std::wcrtomb(codigo, caractere, &estado);
    if (tamanho != static_cast<std::size_t>(-1)) {
      linha.append(codigo, tamanho);
    }
  }
}

// ---- The line ----

char *Prompt(EditLine *) {
  return prompt.data();
}

// History is kept in memory for this run only: no file is read or written.
void Lembra(const wchar_t *caracteres) {
  if (caracteres[0] != L'\n') {
    HistEventW evento;
    history_w(expressoes, &evento, H_ENTER, caracteres);
  }
}

long Le_Editando(std::string_view novo_prompt, bool historico, char *destino,
                 std::size_t capacidade) {
  if (entregue == linha.size()) {
    prompt.assign(novo_prompt);
    voltou = mudou_o_tamanho = 0; // el_wgets takes the size and draws the line itself
    el_wset(editor, EL_HIST, history_w, historico ? expressoes : nenhuma);
    // libedit draws the prompt before it takes the terminal out of line mode: a key
    // typed as soon as the prompt shows would be echoed twice.
    el_set(editor, EL_PREP_TERM, 1);
    int quantos = 0;
    const wchar_t *caracteres = el_wgets(editor, &quantos);
    if (caracteres == nullptr) { // Ctrl-D on an empty line is the end of input
      return leitura_falhou ? -1 : 0;
    }
    Guarda_Em_Bytes(caracteres, quantos);
    if (historico) {
      Lembra(caracteres);
    }
  }
  const std::size_t parte = std::min(linha.size() - entregue, capacidade);
  std::memcpy(destino, linha.data() + entregue, parte);
  entregue += parte;
  return static_cast<long>(parte);
}

// ---- Keys ----

// What a key that sends "ESC [ n ~" does: n is Home (1, 7), End (4, 8), Delete (3),
// Insert (2), Page Up (5), Page Down (6), or a function key (11 to 34).
const char *Comando_Da_Tecla(int tecla) {
  switch (tecla) {
  case 1:
  case 7:
    return "ed-move-to-beg";
  case 4:
  case 8:
    return "ed-move-to-end";
  case 3:
    return "ed-delete-next-char";
  default:
    return "ed-ignore";
  }
}

void Liga(const std::string &sequencia, const char *comando) {
  el_set(editor, EL_BIND, sequencia.c_str(), comando, static_cast<const char *>(nullptr));
}

// libedit knows the arrows, Home, End and Delete as the terminal type describes
// them. Another escape sequence it drops up to the first byte that leaves its table
// and types the rest ("5~" for F5): so every key an xterm, a Linux console or an
// rxvt sends one for does nothing, with Shift, Alt or Ctrl or without, but where
// its sequence means Home, End or Delete. ~/.editrc, read next, can bind them anew;
// Esc then a digit stays a repeat count.
void Cala_Teclas_De_Escape() {
  for (const int tecla : {1,  2,  3,  4,  5,  6,  7,  8,  11, 12, 13, 14, 15, 17,
                          18, 19, 20, 21, 23, 24, 25, 26, 28, 29, 31, 32, 33, 34}) {
    const std::string sequencia = "\x1b[" + std::to_string(tecla);
    Liga(sequencia + "~", Comando_Da_Tecla(tecla));
    for (char modificador = '2'; modificador <= '8'; ++modificador) {
      Liga(sequencia + ';' + modificador + '~', "ed-ignore");
    }
  }
  // Arrows, Home, End and F1 to F4 with a modifier, as xterm sends them now and did.
  for (const char tecla : std::string_view("ABCDHFPQRS")) {
    for (char modificador = '2'; modificador <= '8'; ++modificador) {
      Liga(std::string("\x1b[1;") + modificador + tecla, "ed-ignore");
      Liga(std::string("\x1bO") + modificador + tecla, "ed-ignore");
    }
  }
  for (const char tecla : std::string_view("PQRS")) { // F1 to F4
    Liga(std::string("\x1bO") + tecla, "ed-ignore");
  }
  for (const char tecla : std::string_view("ABCDE")) { // the Linux console's F1 to F5
    Liga(std::string("\x1b[[") + tecla, "ed-ignore");
  }
}

// ---- Setting up ----

// The locale's characters are what the editor edits. A locale of single bytes, as
// the C locale is, is taken as UTF-8, which terminals send.
void Escolhe_Codificacao() {
  if (std::setlocale(LC_CTYPE, "") == nullptr || MB_CUR_MAX == 1) {
    (void)std::setlocale(LC_CTYPE, "C.UTF-8");
  }
}

// A terminal type with no description makes libedit say so and fall back to dumb
// settings; such a terminal gets plain reads instead, as a dumb one does.
bool Conhece_O_Terminal() {
  return std::fflush(avisos) == 0 && tamanho_dos_avisos == 0;
}

void Configura() {
  HistEventW evento;
  history_w(expressoes, &evento, H_SETSIZE, 500);
  history_w(expressoes, &evento, H_SETUNIQUE, 1);
  el_set(editor, EL_EDITOR, "emacs");
  el_set(editor, EL_GETCFN, Le_Do_Terminal);
  el_set(editor, EL_PROMPT, Prompt);
  // Ctrl-W rubs out the word before the cursor, as at the shell's prompt.
  Liga("^W", "ed-delete-prev-word");
  Cala_Teclas_De_Escape();
  el_source(editor, nullptr); // $EDITRC or ~/.editrc, as every editline program
}

} // namespace

TEDITOR Editor_De_Linha() {
  Escolhe_Codificacao();
  if (tcgetattr(STDIN_FILENO, &terminal_encontrado) != 0) {
    return nullptr;
  }
  avisos = open_memstream(&texto_dos_avisos, &tamanho_dos_avisos);
  if (avisos != nullptr) {
    editor = el_init("analisar_exp_encad", stdin, stdout, avisos);
  }
  expressoes = history_winit();
  nenhuma = history_winit();
  if (editor == nullptr || expressoes == nullptr || nenhuma == nullptr ||
      !Conhece_O_Terminal()) {
    Encerra_Editor();
    return nullptr; // plain reads still work
  }
  Configura();
  Trata_Sinais(Trata_Sinal);
  return Le_Editando;
}

void Encerra_Editor() {
  if (editor != nullptr) {
    Trata_Sinais(SIG_DFL);
    el_end(editor);
    editor = nullptr;
  }
  for (HistoryW **historia : {&expressoes, &nenhuma}) {
    if (*historia != nullptr) {
      history_wend(*historia);
      *historia = nullptr;
    }
  }
  if (avisos != nullptr) {
    std::fclose(avisos);
    avisos = nullptr;
  }
  std::free(texto_dos_avisos);
  texto_dos_avisos = nullptr;
}

#else

TEDITOR Editor_De_Linha() {
  return nullptr;
}

void Encerra_Editor() {}

#endif
