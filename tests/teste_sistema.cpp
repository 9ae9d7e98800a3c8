// Unit test of the system's input and output calls on a real file, on every platform;
// pipes, terminals and broken streams are tried on the whole program (fluxos.py).
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "sistema.hpp"

namespace {

std::string Le_Tudo(int descritor, std::size_t bloco) {
  std::string texto;
  char destino[1 << 16];
  long lidos = 0;
  while ((lidos = Le_Descritor(descritor, destino, bloco)) > 0) {
    texto.append(destino, static_cast<std::size_t>(lidos));
  }
  EXPECT_EQ(lidos, 0);
  return texto;
}

TEST(Devolve_Ao_Descritor, LetsTheNextReaderGoOnWhereTheProgramStopped) {
  std::FILE *arquivo = std::tmpfile();
  ASSERT_NE(arquivo, nullptr);
  const int descritor = fileno(arquivo);
  ASSERT_TRUE(Escreve_Descritor(descritor, "(1+2)\nn\nresto\n", 14));
  ASSERT_EQ(std::fseek(arquivo, 0, SEEK_SET), 0);
  char bloco[10];
  ASSERT_EQ(Le_Descritor(descritor, bloco, sizeof bloco), 10);
  Devolve_Ao_Descritor(descritor, 2); // "(1+2)\nn\nre" used up to "n\n"
  EXPECT_EQ(Le_Tudo(descritor, 3), "resto\n");
  std::fclose(arquivo);
}

} // namespace
