// Unit tests of the expression rules: balance test, classification and arithmetic.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "expressao.hpp"

namespace {

using namespace std::string_literals;

struct CasoDeBalanco {
  std::string texto;
  int aceita;
};

TEST(Testa_Expressao, CountsParenthesesBracketsAndOperatorsOnly) {
  const CasoDeBalanco casos[] = {
      {"", 1},          {"1+2", 0},
      {"(1+2)", 1},     {"[1+2]", 0},
      {"([1+2])", 1},   {")1+2(", 1}, // order is not tested
      {"(a+b)", 1},     {"((1+2)", 0},
      {"(1+2))", 0},    {"((1+2)*3)", 1},
      {"((1+2)*3", 0},  {"(1+2)]", 0},
      {"[(1+2)]]", 0},  {"(1)", 0}, // a pair without an operator
      {"(1+2-3)", 0},   {"(((((((((1+1)+1)+1)+1)+1)+1)+1)+1)+1)", 1},
      {"(1+2)\0)"s, 0}, // a NUL byte does not end the text
      {"(1\0+2)"s, 1},  {"(1\xff+2)", 1},
  };
  for (const CasoDeBalanco &caso : casos) {
    EXPECT_EQ(Testa_Expressao(caso.texto.data(), caso.texto.size()), caso.aceita)
        << '"' << caso.texto << '"';
  }
}

struct CasoDeCaractere {
  char caractere;
  int classe, digito, operador; // -1: the target is left as it was
};

TEST(Codifica, ClassifiesEachByteAndWritesOnlyItsOwnTarget) {
  const int OUTRO = OUTRO_CARACTERE;
  const CasoDeCaractere casos[] = {
      {'0', DIGITO, 0, -1},    {'7', DIGITO, 7, -1},           {'9', DIGITO, 9, -1},
      {'+', OPERADOR, -1, 43}, {'-', OPERADOR, -1, 45},        {'*', OPERADOR, -1, 42},
      {'/', OPERADOR, -1, 47}, {')', FECHA_PARENTESE, -1, -1}, {'(', OUTRO, -1, -1},
      {'[', OUTRO, -1, -1},    {']', OUTRO, -1, -1},           {' ', OUTRO, -1, -1},
      {'a', OUTRO, -1, -1},    {'.', OUTRO, -1, -1},           {':', OUTRO, -1, -1},
      {'\0', OUTRO, -1, -1},   {'\x7f', OUTRO, -1, -1},        {'\x80', OUTRO, -1, -1},
      {'\xb0', OUTRO, -1, -1}, {'\xff', OUTRO, -1, -1}};
  for (const CasoDeCaractere &caso : casos) {
    int digito = -1, operador = -1;
    EXPECT_EQ(Codifica(caso.caractere, &digito, &operador), caso.classe)
        << int{caso.caractere};
    EXPECT_EQ(digito, caso.digito) << int{caso.caractere};
    EXPECT_EQ(operador, caso.operador) << int{caso.caractere};
  }
}

struct CasoDeConta {
  int esquerdo, direito;
  char operador;
  int resultado;
};

TEST(Calcula, WrapsModulo2To32AndTruncatesQuotients) {
  const CasoDeConta casos[] = {
      {7, 2, '-', 5}, // left minus right
      {2, 7, '-', -5},
      {3, 4, '+', 7},
      {6, 7, '*', 42},
      {7, 2, '/', 3},
      {-7, 2, '/', -3}, // toward zero
      {7, -2, '/', -3},
      {65536, 32768, '*', INT_MIN},
      {INT_MAX, 1, '+', INT_MIN},
      {INT_MIN, 1, '-', INT_MAX},
      {INT_MIN, -1, '*', INT_MIN},
      {INT_MIN, -1, '/', INT_MIN}, // the one quotient outside the range wraps too
      {INT_MIN, 1, '/', INT_MIN},
      {9, -1, '/', -9},
      {5, 3, '%', 0}, // not an operator
      {5, 3, '(', 0},
      {5, 0, '/', 0}, // no trap, although the evaluation never asks for it
  };
  for (const CasoDeConta &caso : casos) {
    EXPECT_EQ(Calcula(caso.esquerdo, caso.direito, caso.operador), caso.resultado)
        << caso.esquerdo << ' ' << caso.operador << ' ' << caso.direito;
  }
}

} // namespace
