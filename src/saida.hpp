// Standard output of the program, gathered in one block and handed to std::cout whole.
#pragma once

#include <cstddef>
#include <string_view>

// A trace line is printed after every push: handing each piece to the stream
// separately would cost more than the evaluation itself.
void Escreve_Texto(std::string_view texto);
void Escreve_Inteiro(int valor);

// Hands everything gathered to std::cout and flushes it; called before the program
// waits for input and before it ends.
void Descarrega_Saida();

// Writes the decimal digits of valor at destino, which has room for 11 characters,
// and returns the end of what it wrote.
char *Formata_Inteiro(char *destino, int valor);
