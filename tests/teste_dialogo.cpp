// Unit test of the whole dialogue where a session file cannot reach: a line too large
// to keep, and a node allocation that fails.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "alocacao_controlada.hpp"
#include "analisar_exp_encad.hpp"
#include "captura.hpp"

namespace {

// Hands out a fixed number of '(' bytes, then a tail, without ever holding more
// than the console's own block.
struct TFONTE_LONGA {
  std::size_t restantes;
  std::string cauda;
};
TFONTE_LONGA fonte_longa;

long Le_Linha_Longa(char *destino, std::size_t capacidade) {
  if (fonte_longa.restantes > 0) {
    const std::size_t n = std::min(fonte_longa.restantes, capacidade);
    std::fill(destino, destino + n, '(');
    fonte_longa.restantes -= n;
    return static_cast<long>(n);
  }
  const std::size_t n = fonte_longa.cauda.copy(destino, capacidade);
  fonte_longa.cauda.erase(0, n);
  return static_cast<long>(n);
}

// A node allocation that fails is one answer's failure: the dialogue goes on.
TEST(Executa_Dialogo, ReadsA200MegabyteLineWithoutGrowingAndGoesOnAfterAFailedNode) {
  fonte_longa = {200u << 20, "\nS\n(1+2)\nS\n(4*5)\nN\n"};
  Falha_Nodo(2, false);         // the '+' of "(1+2)"
  captura::saida.reserve(4096); // room for the whole dialogue, reserved up front
  Captura_Com(Le_Linha_Longa);
  const std::size_t bytes_antes = Bytes_Alocados();
  const int codigo = Executa_Dialogo();
  const std::size_t bytes_depois = Bytes_Alocados();

  EXPECT_EQ(codigo, 0);
  EXPECT_LT(bytes_depois - bytes_antes, 4096u);
  EXPECT_EQ(captura::saida,
            CICLO + "ERRO: Expressao muito Longa" + CONTINUA + CICLO +
                "Pilha 1: 1\nPilha 2: vazia\n\nERRO: Pilha Cheia\n" + CONTINUA + CICLO +
                "Pilha 1: 4\nPilha 2: *\nPilha 1: 54\n\nResposta: 20 \n" + CONTINUA);
}

} // namespace
