// Buffered console: input taken in blocks as it arrives, output gathered in one
// block and handed to std::cout whole, flushed only before the program would wait.
#pragma once

#include <cstddef>
#include <string_view>

// ---- Output ----

// A trace line is printed after every push: handing each piece to the stream
// separately would cost more than the evaluation itself.
void Escreve_Texto(std::string_view texto);
void Escreve_Inteiro(int valor);

// Room for `tamanho` bytes, no more than the 16 KiB block, at the end of the output,
// where a caller formats in place; Confirma_Saida then takes what was written up to
// `fim`.
char *Reserva_Saida(std::size_t tamanho);
void Confirma_Saida(char *fim);

// Writes the decimal digits of valor at destino, which has room for 11 characters,
// and returns the end of what it wrote.
char *Formata_Inteiro(char *destino, int valor);

// Hands everything gathered to std::cout and flushes it.
void Descarrega_Saida();

// ---- Input ----

constexpr int FIM_DA_ENTRADA = -1;

// The next byte of std::cin as 0 to 255, or FIM_DA_ENTRADA. Output is flushed first
// when no input is waiting, so a person sees every prompt before the program blocks.
int Le_Caractere();

// Reads through the next line end, "\n" or "\r\n", or through the end of input, and
// keeps the first `capacidade` bytes of the line, however long it is. Every other
// byte, NUL and '\r' included, belongs to the line. False when input had ended before
// the line began.
bool Le_Linha(char *texto, std::size_t capacidade, std::size_t *tamanho);

// Forgets the input taken from std::cin but not yet read, for a reader that starts
// afresh, perhaps on another stream.
void Descarta_Entrada();

// Drops one line end, "\n" or "\r\n", or one other byte.
void Descarta_Fim_De_Linha();
