// Unit tests of the buffered console: lines as they are read, texts as they leave,
// and output flushed before every wait for input.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analisar_exp_encad.hpp"
#include "captura.hpp"
#include "console.hpp"

namespace {

// Hands out its text one byte per read and never says more is waiting, as a person
// typing does; before each read it notes the output the program had let out.
struct TFonteLenta : std::streambuf {
  std::string texto;
  std::size_t posicao = 0;
  char atual = 0;
  const std::ostringstream *saida = nullptr;
  std::vector<std::string> vista_a_cada_espera;

  int_type underflow() override {
    if (saida != nullptr) {
      vista_a_cada_espera.push_back(saida->str());
    }
    if (posicao == texto.size()) {
      return traits_type::eof();
    }
    atual = texto[posicao++];
    setg(&atual, &atual, &atual + 1);
    return traits_type::to_int_type(atual);
  }
};

std::vector<std::string> Linhas_De(std::streambuf *fonte) {
  std::streambuf *cin_antes = std::cin.rdbuf(fonte);
  Descarta_Entrada();
  std::vector<std::string> linhas;
  char texto[8];
  std::size_t tamanho = 0;
  while (Le_Linha(texto, sizeof texto, &tamanho)) {
    linhas.emplace_back(texto, tamanho);
  }
  std::cin.rdbuf(cin_antes);
  return linhas;
}

struct CasoDeLeitura {
  std::string entrada;
  std::vector<std::string> linhas;
};

TEST(Le_Linha, EndsLinesAtNewlineOrCrLfAndKeepsTheirFirstBytes) {
  using namespace std::string_literals;
  const CasoDeLeitura casos[] = {
      {"", {}},
      {"\n", {""}},
      {"abc", {"abc"}}, // the last line needs no line end
      {"abc\ndef\n", {"abc", "def"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\n\r", {"a\rb", "\r"}}, // a lone '\r' is an ordinary byte
      {"a\r\r\n", {"a\r"}},
      {"\r\n\r\n", {"", ""}},
      {"12345678\r\n", {"12345678"}},
      {"123456789abc\r\nx", {"12345678", "x"}}, // kept: 8 bytes; the rest dropped
      {"a\0b\n\xff\n"s, {"a\0b"s, "\xff"}},
  };
  for (const CasoDeLeitura &caso : casos) {
    std::istringstream inteira(caso.entrada);
    EXPECT_EQ(Linhas_De(inteira.rdbuf()), caso.linhas) << caso.entrada;
    TFonteLenta lenta;
    lenta.texto = caso.entrada;
    EXPECT_EQ(Linhas_De(&lenta), caso.linhas) << caso.entrada;
  }
}

TEST(Escreve_Texto, PassesOnTextsLongerThanTheOutputBlock) {
  const std::string longo(100000, 'x');
  const std::string saida = Saida_De([&] {
    Escreve_Texto("abc");
    Escreve_Texto(longo);
    Escreve_Texto("def");
  });
  EXPECT_EQ(saida, "abc" + longo + "def");
}

TEST(Executa_Dialogo, LetsOutEveryPromptBeforeWaiting) {
  TFonteLenta lenta;
  lenta.texto = "(1+2)\nx\nS\n(3\r\n";
  std::ostringstream destino;
  lenta.saida = &destino;
  std::streambuf *cin_antes = std::cin.rdbuf(&lenta);
  std::streambuf *cout_antes = std::cout.rdbuf(destino.rdbuf());
  Executa_Dialogo(false);
  std::cout.rdbuf(cout_antes);
  std::cin.rdbuf(cin_antes);

  ASSERT_EQ(lenta.vista_a_cada_espera.size(), lenta.texto.size() + 1);
  for (const std::string &vista : lenta.vista_a_cada_espera) {
    EXPECT_TRUE(Termina_Com(vista, "\nExpressao: ") || Termina_Com(vista, "[S/N]? "))
        << vista;
  }
}

TEST(Executa_Dialogo, ClearsTheScreenOnlyOnAConsole) {
  const std::string ciclo = "Analisador de Expressoes\n\nExpressao: ";
  EXPECT_EQ(Saida_De([] { Executa_Dialogo(true); }, "\n"),
            "\x1b[H\x1b[2J" + ciclo + "\nERRO: Pilha Vazia\n\nContinua [S/N]? \n");
  EXPECT_EQ(Saida_De([] { Executa_Dialogo(false); }, ""), ciclo + "\n");
}

} // namespace
