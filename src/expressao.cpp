// Rules about expression text: the balance test, the class of a character and the
// arithmetic of one operator.
#include "expressao.hpp"

#include <cstdint>

static_assert(sizeof(int) == 4, "the arithmetic is on 32-bit integers");

int Testa_Expressao(const char *expressao, std::size_t tamanho) {
  std::size_t operadores = 0, abre_parentese = 0, fecha_parentese = 0;
  std::size_t abre_colchete = 0, fecha_colchete = 0;
  for (std::size_t i = 0; i < tamanho; ++i) {
    switch (expressao[i]) {
    case '(':
      ++abre_parentese;
      break;
    case ')':
      ++fecha_parentese;
      break;
    case '[':
      ++abre_colchete;
      break;
    case ']':
      ++fecha_colchete;
      break;
    default:
      operadores += E_Operador(expressao[i]);
      break;
    }
  }
  // One pair of parentheses per operator is what makes the text fully parenthesised.
  return abre_parentese == fecha_parentese && abre_colchete == fecha_colchete &&
         abre_parentese == operadores;
}

int Codifica(char caractere, int *digito, int *operador) {
  if (caractere >= '0' && caractere <= '9') {
    *digito = caractere - '0';
    return DIGITO;
  }
  if (E_Operador(caractere)) {
    *operador = static_cast<unsigned char>(caractere); // its character code, 42 to 47
    return OPERADOR;
  }
  return caractere == ')' ? FECHA_PARENTESE : OUTRO_CARACTERE;
}

namespace {

// Signed overflow is undefined in C++; unsigned arithmetic wraps modulo 2^32.
int Para_Int(std::uint32_t valor) {
  return static_cast<int>(valor);
}

int Divide(int esquerdo, int direito) {
  if (direito == 0) {
    return 0; // the evaluation reports this case before it calls Calcula
  }
  if (direito == -1) {
    return Para_Int(0u - static_cast<std::uint32_t>(esquerdo)); // -2^31 / -1 wraps
  }
  return esquerdo / direito;
}

} // namespace

int Calcula(int esquerdo, int direito, char operador) {
  const auto a = static_cast<std::uint32_t>(esquerdo);
  const auto b = static_cast<std::uint32_t>(direito);
  switch (operador) {
  case '+':
    return Para_Int(a + b);
  case '-':
    return Para_Int(a - b);
  case '*':
    return Para_Int(a * b);
  case '/':
    return Divide(esquerdo, direito);
  default:
    return 0;
  }
}
