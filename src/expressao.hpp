// Rules about expression text: the balance test, the class of a character and the
// arithmetic of one operator. Nothing here prints.
#pragma once

#include <cstddef>

// Classes returned by Codifica.
constexpr int DIGITO = 1;
constexpr int OPERADOR = 2;
constexpr int FECHA_PARENTESE = 3;
constexpr int OUTRO_CARACTERE = 4;

// Whether the code is one of the four operators "+-*/": the one place of that set.
// Inline, since the balance rule, the scan and every trace line ask it of each value.
inline bool E_Operador(int codigo) {
  switch (codigo) {
  case '+':
  case '-':
  case '*':
  case '/':
    return true;
  default:
    return false;
  }
}

// 1 when '(' and ')' balance, '[' and ']' balance, and there is one '(' per
// operator; 0 otherwise. Every byte counts, NUL bytes included.
int Testa_Expressao(const char *expressao, std::size_t tamanho);

// Writes the digit value only for DIGITO and the operator code only for OPERADOR.
int Codifica(char caractere, int *digito, int *operador);

// 32-bit two's-complement result, wrapping; quotients truncate toward zero. 0 for
// an unknown operator and for a zero divisor, which the evaluation reports first.
int Calcula(int esquerdo, int direito, char operador);
