// What every unit test starts from, whatever ran before it: the tests' allocator with
// no failure armed, a console on empty strings with no editor and no screen, and no
// observer; and what each must leave: not one node more.
#include <gtest/gtest.h>

#include "alocacao_controlada.hpp"
#include "analisar_exp_encad.hpp"
#include "captura.hpp"

namespace {

class TRECOMECO : public testing::EmptyTestEventListener {
  long vivos_antes = 0;
  void OnTestProgramStart(const testing::UnitTest &) override {
    Instala_Alocacao_Controlada();
  }
  void OnTestStart(const testing::TestInfo &) override {
    Desarma_Falhas();
    Observa_Avaliacao(nullptr);
    Captura_Texto("");
    vivos_antes = Nodos_Vivos();
  }
  void OnTestEnd(const testing::TestInfo &) override {
    EXPECT_EQ(Nodos_Vivos(), vivos_antes) << "nodes left behind by this test";
  }
};

[[maybe_unused]] const bool recomeco = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new TRECOMECO);
  return true;
}();

} // namespace
