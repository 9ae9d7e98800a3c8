// The operating system's own input and output calls, the one place where POSIX and
// Windows differ.
#pragma once

#include <cstddef>
#include <string_view>

// Places up to `capacidade` bytes from the descriptor at destino and returns how many:
// waits only when nothing is available; 0 once input has ended; -1 on a failure, with
// errno set. An interrupted call is retried, after `apos_sinal` when one is given (the
// line editor draws the line again there), and a descriptor left non-blocking is
// waited on until it is ready.
long Le_Descritor(int descritor, char *destino, std::size_t capacidade,
                  void (*apos_sinal)() = nullptr);

// Writes all `tamanho` bytes, completing partial writes; false on a failure, with
// errno set.
bool Escreve_Descritor(int descritor, const char *origem, std::size_t tamanho);

// Moves a seekable descriptor's offset back over `bytes` read ahead but not used, so
// that the next reader goes on from there; nothing for a pipe or a terminal.
void Devolve_Ao_Descritor(int descritor, std::size_t bytes);

// Whether standard output is a screen that can be cleared: on POSIX a terminal whose
// TERM is set and not "dumb"; on Windows a console.
bool Saida_E_Tela();

// Whether standard input is a terminal (on Windows, a console).
bool Entrada_E_Terminal();

// The ANSI sequence that homes the cursor and erases the screen: what clears a POSIX
// terminal, and the page's.
constexpr std::string_view SEQUENCIA_QUE_LIMPA = "\x1b[H\x1b[2J";

// Clears such a screen: on POSIX it writes the ANSI sequence that homes the cursor
// and erases; on Windows it runs the command "cls" of the command processor. What
// was written before must be out first; what either answers changes nothing.
void Limpa_A_Tela();

// Puts the standard streams in the modes the console expects (Windows only).
void Prepara_Fluxos_Padrao();
