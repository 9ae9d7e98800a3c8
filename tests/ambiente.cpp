// What every unit test starts from, whatever ran before it: the tests' node allocator
// with no failure armed, and a console bound to empty strings with no editor.
#include <gtest/gtest.h>

#include "alocacao_controlada.hpp"
#include "captura.hpp"

namespace {

class TRECOMECO : public testing::EmptyTestEventListener {
  void OnTestProgramStart(const testing::UnitTest &) override {
    Instala_Alocacao_Controlada();
  }
  void OnTestStart(const testing::TestInfo &) override {
    Desarma_Falhas();
    Captura_Texto("");
  }
};

[[maybe_unused]] const bool recomeco = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new TRECOMECO);
  return true;
}();

} // namespace
