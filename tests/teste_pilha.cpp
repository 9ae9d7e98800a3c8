// Unit tests of the linked stack and its trace line.
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "alocacao_controlada.hpp"
#include "captura.hpp"
#include "pilha.hpp"

namespace {

TPILHA Pilha_Com(const std::vector<int> &de_baixo_para_cima) {
  TPILHA pilha;
  Cria_Pilha(&pilha);
  for (int valor : de_baixo_para_cima) {
    EXPECT_EQ(Push(&pilha, valor), SUCESSO);
  }
  return pilha;
}

// Each pop gives back its own node: the tests' listener counts them.
TEST(Pop, TakesValuesInReverseOrderAndReleasesEachNode) {
  const std::vector<int> valores = {1, INT_MIN, 0, INT_MAX, -7, '*'};
  TPILHA pilha = Pilha_Com(valores);
  for (auto valor = valores.rbegin(); valor != valores.rend(); ++valor) {
    int tirado = 0;
    ASSERT_EQ(Pop(&pilha, &tirado), SUCESSO);
    EXPECT_EQ(tirado, *valor);
  }
  EXPECT_EQ(pilha.topo, nullptr);
}

TEST(Push, FailedAllocationReportsFullAndLeavesStackAsItWas) {
  TPILHA pilha = Pilha_Com({4, 5});
  TNODO *topo_antes = pilha.topo;
  Falha_Nodo(1, false);
  EXPECT_EQ(Push(&pilha, 6), PILHA_CHEIA);
  Desarma_Falhas();
  EXPECT_EQ(pilha.topo, topo_antes);
  EXPECT_EQ(Push(&pilha, 7), SUCESSO); // the heap gives nodes again
  int tirado = 0;
  EXPECT_EQ(Pop(&pilha, &tirado), SUCESSO);
  EXPECT_EQ(tirado, 7);
  destroi_pilha(&pilha);
}

TEST(Pop, OnEmptyStackReportsEmptyAndLeavesTargetAlone) {
  TPILHA pilha;
  Cria_Pilha(&pilha);
  int alvo = 1234;
  EXPECT_EQ(Pop(&pilha, &alvo), PILHA_VAZIA);
  EXPECT_EQ(alvo, 1234);
  EXPECT_EQ(pilha.topo, nullptr);
}

TEST(destroi_pilha, ReleasesEveryNodeAndLeavesStackEmpty) {
  TPILHA pilha = Pilha_Com({1, 2, 3, 4, 5});
  destroi_pilha(&pilha);
  int alvo = 0;
  EXPECT_EQ(Pop(&pilha, &alvo), PILHA_VAZIA);
  destroi_pilha(&pilha); // an empty stack: nothing to do
  EXPECT_EQ(pilha.topo, nullptr);
}

struct CasoDeRastro {
  int numero;
  std::vector<int> de_baixo_para_cima;
  const char *linha;
};

TEST(exibe_pilha, PrintsValuesFromTopDownRunTogether) {
  const CasoDeRastro casos[] = {
      {2, {}, "Pilha 2: vazia\n"},
      {1, {}, "Pilha 1: vazia\n"},
      {1, {1, 2}, "Pilha 1: 21\n"},
      {2, {'+', '*'}, "Pilha 2: *+\n"},
      {1, {-7, 2}, "Pilha 1: 2-7\n"},
      {1, {3, 12}, "Pilha 1: 123\n"},
      {1, {42, 1}, "Pilha 1: 1*\n"}, // an operand of 42 shows as '*'
      {1, {43, 45, 47, 44}, "Pilha 1: 44/-+\n"},
      {1, {INT_MIN, INT_MAX}, "Pilha 1: 2147483647-2147483648\n"},
      {-3, {0}, "Pilha -3: 0\n"},
  };
  for (const CasoDeRastro &caso : casos) {
    TPILHA pilha = Pilha_Com(caso.de_baixo_para_cima);
    EXPECT_EQ(Saida_De([&] { exibe_pilha(caso.numero, pilha); }), caso.linha);
    destroi_pilha(&pilha);
  }
}

} // namespace
