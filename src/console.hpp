// Buffered console: input taken in blocks as it arrives, output gathered in one block
// and written whole, flushed before every read, the only place the program may wait.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// ---- The ends ----

// Places up to `capacidade` bytes at destino and returns how many, waiting only when
// none is available; 0 when input has ended, -1 on a failure (errno set).
using TLEITURA = long (*)(char *destino, std::size_t capacidade);

// Writes all it is given; false on a failure (errno set).
using TESCRITA = bool (*)(const char *origem, std::size_t tamanho);

// Clears the screen; what was written before is out already. Nothing it does or
// fails to do changes the dialogue.
using TLIMPEZA = void (*)();

// Starts the console afresh on these ends: the program's are standard input and
// output and the system's screen, the page's are its own, tests put their own.
// Without a clearing end there is no screen, and nothing is cleared. Nothing gathered
// or read ahead is kept, and no line editor is bound.
void Liga_Console(TLEITURA le, TESCRITA escreve, TLIMPEZA limpa = nullptr);

// A line editor: draws the prompt, one line, lets the user edit a line, and places
// up to `capacidade` bytes of it, with its line end, at destino, as TLEITURA does: 0
// when input has ended, -1 on a failure (errno set). A line longer than `capacidade`
// comes in pieces, one per call, the prompt with the first. With `historico` the
// line goes into the history and can be recalled.
using TEDITOR = long (*)(std::string_view prompt, bool historico, char *destino,
                         std::size_t capacidade);

// From now on every line that is not in the console already comes from the editor,
// the expression's and the answer's alike; null goes back to plain reads.
void Liga_Editor(TEDITOR editor);

// ---- Output ----

// Size of the output block: what is gathered before it is written.
constexpr std::size_t BLOCO_DE_SAIDA = 1 << 16;

// A trace line follows every push: each piece is appended to the block, which is
// written when it is full, and no piece ever goes beyond it.
void Escreve_Texto(std::string_view texto);
void Escreve_Caractere(char caractere);
void Escreve_Inteiro(int valor);

// Writes everything gathered.
void Descarrega_Saida();

// Lets out what is gathered, then clears the screen through the clearing end: what
// came before must not land on the cleared screen. Nothing without a screen, or
// once a write has failed.
void Limpa_Tela();

// ---- Input ----

constexpr int FIM_DA_ENTRADA = -1;

// Both reads show their prompt, one line, once: with an editor bound and no input in
// the console yet, the editor draws it and gives the input, and with `historico` the
// line it gives goes into its history; otherwise the prompt is written out, and a
// line asked of the editor later in the same read has none.

// Shows the prompt, if one is given, then returns the next byte as 0 to 255, or
// FIM_DA_ENTRADA.
int Le_Caractere(std::string_view prompt = {}, bool historico = false);

// Shows the prompt, then reads through the next line end, "\n" or "\r\n", or through
// the end of input, and keeps the first `capacidade` bytes of the line, however long
// it is. Every other byte, NUL and '\r' included, belongs to the line. False when
// input had ended before the line began.
bool Le_Linha(std::string_view prompt, bool historico, char *texto,
              std::size_t capacidade, std::size_t *tamanho);

// Drops one character; if it was '\r', a "\n" that arrives right after it is dropped
// too, as the rest of one line end, without waiting to see whether one comes.
void Descarta_Fim_De_Linha();

// ---- The end ----

// Once a read has returned 0, or either end has failed, input is over for good.
// After a failed write nothing more is written or read.
struct TFALHA_DO_CONSOLE {
  bool leitura; // which end failed: reading, or else writing
  int erro;     // errno of the failed call; 0 when nothing failed
};
TFALHA_DO_CONSOLE Falha_Do_Console();

// The one line for standard error when the dialogue ended with status 1: the
// program's name and the stream that failed, and why.
std::string Relato_Da_Falha(TFALHA_DO_CONSOLE falha);

// Bytes read ahead but never used, which a seekable input can take back.
std::size_t Entrada_Nao_Usada();
