// Unit tests of the whole dialogue where a session file cannot reach: a node
// allocation that fails, input cut at every byte, and a line too large to keep.
#include <algorithm>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "alocacao_controlada.hpp"
#include "analisar_exp_encad.hpp"
#include "captura.hpp"

namespace {

const std::string CICLO = "Analisador de Expressoes\n\nExpressao: ";
const std::string CONTINUA = "\nContinua [S/N]? ";

std::string Dialogo(const std::string &entrada) {
  return Saida_De([] { EXPECT_EQ(Executa_Dialogo(false), 0); }, entrada);
}

TEST(Executa_Dialogo, GoesOnAfterAFailedNodeAllocation) {
  Falha_Nodo(2, false); // the '+' of the first expression
  const std::string saida = Dialogo("(1+2)\nS\n(3*4)\nN\n");
  Desarma_Falhas();
  EXPECT_EQ(saida, CICLO + "Pilha 1: 1\nPilha 2: vazia\n\nERRO: Pilha Cheia\n" +
                       CONTINUA + CICLO +
                       "Pilha 1: 3\nPilha 2: *\nPilha 1: 43\n\nResposta: 12 \n" +
                       CONTINUA);
  EXPECT_EQ(Nodos_Vivos(), 0);
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

// Hands out a fixed number of bytes of one character, then a tail, without ever
// holding more than one small buffer.
struct TFonteLonga : std::streambuf {
  std::size_t restantes;
  std::string cauda;
  char bloco[1 << 16];

  TFonteLonga(std::size_t tamanho, std::string fim) : restantes(tamanho), cauda(fim) {
    std::fill(bloco, bloco + sizeof bloco, '(');
  }

  int_type underflow() override {
    if (restantes > 0) {
      const std::size_t n = std::min(restantes, sizeof bloco);
      restantes -= n;
      setg(bloco, bloco, bloco + n);
    } else if (!cauda.empty()) {
      std::memcpy(bloco, cauda.data(), cauda.size());
      setg(bloco, bloco, bloco + cauda.size());
      cauda.clear();
    } else {
      return traits_type::eof();
    }
    return traits_type::to_int_type(*gptr());
  }
};

TEST(Executa_Dialogo, ReadsA200MegabyteLineWithoutGrowing) {
  TFonteLonga fonte(200u << 20, "\nS\n(4*5)\nN\n");
  std::ostringstream destino;
  destino.str(std::string(4096, ' ')); // room for the whole dialogue, reserved up front
  destino.str("");
  std::streambuf *cin_antes = std::cin.rdbuf(&fonte);
  std::streambuf *cout_antes = std::cout.rdbuf(destino.rdbuf());
  const std::size_t bytes_antes = Bytes_Alocados();
  const int codigo = Executa_Dialogo(false);
  const std::size_t bytes_depois = Bytes_Alocados();
  std::cout.rdbuf(cout_antes);
  std::cin.rdbuf(cin_antes);

  EXPECT_EQ(codigo, 0);
  EXPECT_LT(bytes_depois - bytes_antes, 4096u);
  EXPECT_EQ(destino.str(), CICLO + "ERRO: Expressao muito Longa" + CONTINUA + CICLO +
                               "Pilha 1: 4\nPilha 2: *\nPilha 1: 54\n\nResposta: 20 \n" +
                               CONTINUA);
}

} // namespace
