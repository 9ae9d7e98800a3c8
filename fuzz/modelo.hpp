// A model of the dialogue, written with std::vector and std::string alone, that the
// fuzz targets and the unit tests hold the program to.
#pragma once

#include <string>

// 32-bit arithmetic that wraps; '/' truncates, and takes no divisor of 0.
int Conta_Do_Modelo(int esquerdo, int direito, char operador);
bool E_Operador_Do_Modelo(char caractere);

// What the program prints for one line: refused as too long or unbalanced, or its
// trace lines and then the answer or the failure message.
std::string Modelo_Da_Linha(const std::string &linha);

// What the whole dialogue prints for this input, from the first title to the end,
// whichever way the input is cut into reads; no screen is cleared.
std::string Modelo_Do_Dialogo(const std::string &entrada);
