// Line editing and history of the expressions at a terminal, through libedit (the
// BSD editline library) where the build has it.
#include "editor.hpp"

#ifdef COM_EDICAO_DE_LINHA

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <histedit.h>

namespace {

EditLine *editor = nullptr;
History *historico = nullptr;
std::string prompt;

// The line el_gets handed over and is not all given out yet.
const char *pendente = nullptr;
std::size_t restam = 0;

char *Prompt(EditLine *) {
  return prompt.data();
}

// History is kept in memory for this run only: no file is read or written.
void Lembra(const char *linha) {
  if (linha[0] != '\n') {
    HistEvent evento;
    history(historico, &evento, H_ENTER, linha);
  }
}

long Le_Editando(std::string_view novo_prompt, char *destino, std::size_t capacidade) {
  if (restam == 0) {
    prompt.assign(novo_prompt);
    int tamanho = 0;
    errno = 0;
    pendente = el_gets(editor, &tamanho);
    if (pendente == nullptr) {
      return tamanho < 0 ? -1 : 0; // Ctrl-D on an empty line is the end of input
    }
    restam = static_cast<std::size_t>(tamanho);
    Lembra(pendente);
  }
  const std::size_t parte = std::min(restam, capacidade);
  std::memcpy(destino, pendente, parte);
  pendente += parte;
  restam -= parte;
  return static_cast<long>(parte);
}

// The editor drops every byte that is not a character of the locale: in the C locale
// that is every byte from 0x80 up. The user's locale, or failing that UTF-8, which
// terminals send, keeps those bytes in the line, as a plain read does.
void Escolhe_Codificacao() {
  if (std::setlocale(LC_CTYPE, "") == nullptr || MB_CUR_MAX == 1) {
    (void)std::setlocale(LC_CTYPE, "C.UTF-8");
  }
}

} // namespace

TEDITOR Editor_De_Linha() {
  Escolhe_Codificacao();
  editor = el_init("analisar_exp_encad", stdin, stdout, stderr);
  historico = history_init();
  if (editor == nullptr || historico == nullptr) {
    Encerra_Editor();
    return nullptr; // plain reads still work
  }
  HistEvent evento;
  history(historico, &evento, H_SETSIZE, 500);
  history(historico, &evento, H_SETUNIQUE, 1);
  el_set(editor, EL_EDITOR, "emacs");
  el_set(editor, EL_SIGNAL, 1); // Ctrl-C restores the terminal; a resize redraws
  // Lines pasted at once keep their "\n": what the editor leaves in the terminal is
  // read as typed ahead, and a "\r" there would be no line end.
  el_set(editor, EL_SETTY, "-d", "-inlcr", static_cast<const char *>(nullptr));
  el_set(editor, EL_PROMPT, Prompt);
  el_set(editor, EL_HIST, history, historico);
  // Ctrl-W rubs out the word before the cursor, as at the shell's prompt.
  el_set(editor, EL_BIND, "^W", "ed-delete-prev-word",
         static_cast<const char *>(nullptr));
  el_source(editor, nullptr); // $EDITRC or ~/.editrc, as every editline program
  return Le_Editando;
}

void Encerra_Editor() {
  if (editor != nullptr) {
    el_end(editor);
    editor = nullptr;
  }
  if (historico != nullptr) {
    history_end(historico);
    historico = nullptr;
  }
}

#else

TEDITOR Editor_De_Linha() {
  return nullptr;
}

void Encerra_Editor() {}

#endif
