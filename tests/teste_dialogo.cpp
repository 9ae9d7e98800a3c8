// Unit tests of the whole dialogue where a session file cannot reach: a node
// allocation that fails, input cut at every byte, and a line too large to keep.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "alocacao_controlada.hpp"
#include "analisar_exp_encad.hpp"
#include "captura.hpp"

namespace {

std::string Dialogo(const std::string &entrada) {
  return Saida_De([] { EXPECT_EQ(Executa_Dialogo(false), 0); }, entrada);
}

TEST(Executa_Dialogo, GoesOnAfterAFailedNodeAllocation) {
  const long vivos_antes = Nodos_Vivos();
  Falha_Nodo(2, false); // the '+' of the first expression
  const std::string saida = Dialogo("(1+2)\nS\n(3*4)\nN\n");
  Desarma_Falhas();
  EXPECT_EQ(saida, CICLO + "Pilha 1: 1\nPilha 2: vazia\n\nERRO: Pilha Cheia\n" +
                       CONTINUA + CICLO +
                       "Pilha 1: 3\nPilha 2: *\nPilha 1: 43\n\nResposta: 12 \n" +
                       CONTINUA);
  EXPECT_EQ(Nodos_Vivos(), vivos_antes);
}

// Cut anywhere, input still ends the dialogue at once: with a line end where the
// program waits for an expression or an answer, or right after the 'N'.
TEST(Executa_Dialogo, EndsCleanlyWhereverInputEnds) {
  const std::string sessao =
      "((1+2)*3)\r\nsim\n(8/0)\nxS\r\n" + std::string(60, '(') + "\nS\n\nS\n(7/2)\nN\n";
  for (std::size_t corte = 0; corte <= sessao.size(); ++corte) {
    const std::string saida = Dialogo(sessao.substr(0, corte));
    if (corte >= sessao.size() - 1) { // the 'N' has arrived
      EXPECT_TRUE(Termina_Com(saida, "\nResposta: 3 \n" + CONTINUA)) << corte;
    } else {
      EXPECT_TRUE(Termina_Com(saida, CICLO + "\n") || Termina_Com(saida, CONTINUA + "\n"))
          << "input cut at " << corte << ":\n"
          << saida;
    }
  }
}

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

TEST(Executa_Dialogo, ReadsA200MegabyteLineWithoutGrowing) {
  fonte_longa = {200u << 20, "\nS\n(4*5)\nN\n"};
  captura::saida.reserve(4096); // room for the whole dialogue, reserved up front
  Captura_Com(Le_Linha_Longa);
  const std::size_t bytes_antes = Bytes_Alocados();
  const int codigo = Executa_Dialogo(false);
  const std::size_t bytes_depois = Bytes_Alocados();

  EXPECT_EQ(codigo, 0);
  EXPECT_LT(bytes_depois - bytes_antes, 4096u);
  EXPECT_EQ(captura::saida, CICLO + "ERRO: Expressao muito Longa" + CONTINUA + CICLO +
                                "Pilha 1: 4\nPilha 2: *\nPilha 1: 54\n\nResposta: 20 \n" +
                                CONTINUA);
}

} // namespace
