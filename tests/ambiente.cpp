// What every unit test starts from, whatever ran before it: the tests' node allocator
// with no failure armed, and a console bound to empty strings with no editor.
#include <gtest/gtest.h>

#include "alocacao_controlada.hpp"
#include "captura.hpp"

namespace {

class TAMBIENTE : public testing::Environment {
  void SetUp() override {
    Instala_Alocacao_Controlada();
  }
};

class TRECOMECO : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo &) override {
    Desarma_Falhas();
    captura::entrada.clear();
    captura::lidos = 0;
    Captura_Com(captura::Le);
  }
};

[[maybe_unused]] testing::Environment *const ambiente =
    testing::AddGlobalTestEnvironment(new TAMBIENTE);

[[maybe_unused]] const bool recomeco = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new TRECOMECO);
  return true;
}();

} // namespace
