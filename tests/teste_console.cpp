// Unit tests of the buffered console: lines as they are read, output flushed before
// every read, end of input and failed ends, and the bounds of the output block.
#include <cerrno>
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analisar_exp_encad.hpp"
#include "captura.hpp"
#include "console.hpp"
#include "pilha.hpp"
#include "sistema.hpp"

namespace {

// Input handed out as scripted, one reply per read: some bytes, or the end of input
// (""), or a failure (FALHA). Past the script every read fails the test. Before each
// read it notes the output the program had let out.
const std::string FALHA = "\x01 failure";

struct TROTEIRO {
  std::vector<std::string> respostas;
  std::size_t proxima = 0;
  std::vector<std::string> vista_a_cada_leitura;
  int escritas_que_falham = INT_MAX; // writes that succeed before they fail
};
TROTEIRO roteiro;

long Le_Do_Roteiro(char *destino, std::size_t capacidade) {
  roteiro.vista_a_cada_leitura.push_back(captura::saida);
  if (roteiro.proxima == roteiro.respostas.size()) {
    ADD_FAILURE() << "read past the end of input";
    return 0;
  }
  const std::string &resposta = roteiro.respostas[roteiro.proxima++];
  if (resposta == FALHA) {
    errno = EIO;
    return -1;
  }
  EXPECT_LE(resposta.size(), capacidade);
  resposta.copy(destino, resposta.size());
  return static_cast<long>(resposta.size());
}

bool Escreve_Com_Falha(const char *origem, std::size_t tamanho) {
  if (roteiro.escritas_que_falham-- <= 0) {
    errno = ENOSPC;
    return false;
  }
  return captura::Escreve(origem, tamanho);
}

void Comeca_Roteiro(std::vector<std::string> respostas,
                    int escritas_que_falham = INT_MAX) {
  roteiro = TROTEIRO{std::move(respostas), 0, {}, escritas_que_falham};
  Captura_Com(Le_Do_Roteiro, Escreve_Com_Falha);
}

// Runs the whole dialogue on the script; returns its exit code.
int Dialogo_Com(std::vector<std::string> respostas, int escritas_que_falham = INT_MAX) {
  Comeca_Roteiro(std::move(respostas), escritas_que_falham);
  return Executa_Dialogo(false);
}

std::vector<std::string> Um_Byte_Por_Leitura(const std::string &texto) {
  std::vector<std::string> respostas;
  for (char caractere : texto) {
    respostas.emplace_back(1, caractere);
  }
  respostas.emplace_back(); // the end of input
  return respostas;
}

std::vector<std::string> Linhas_De(const std::vector<std::string> &respostas) {
  Comeca_Roteiro(respostas);
  std::vector<std::string> linhas;
  char texto[8];
  std::size_t tamanho = 0;
  while (Le_Linha("", texto, sizeof texto, &tamanho)) {
    linhas.emplace_back(texto, tamanho);
  }
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
    EXPECT_EQ(Linhas_De({caso.entrada, ""}), caso.linhas) << caso.entrada;
    EXPECT_EQ(Linhas_De(Um_Byte_Por_Leitura(caso.entrada)), caso.linhas) << caso.entrada;
  }
}

TEST(Executa_Dialogo, LetsOutEveryPromptBeforeEachRead) {
  const std::string texto = "(1+2)\nx\nS\n(3\r\ns\r(4*5)\nn";
  EXPECT_EQ(Dialogo_Com(Um_Byte_Por_Leitura(texto)), 0);
  ASSERT_EQ(roteiro.vista_a_cada_leitura.size(), texto.size() + 1); // and the end
  for (const std::string &vista : roteiro.vista_a_cada_leitura) {
    EXPECT_TRUE(Termina_Com(vista, "\nExpressao: ") || Termina_Com(vista, "[S/N]? "))
        << vista;
  }
}

// After the answer's '\r' nothing is read to see whether a "\n" follows: a driver
// that ends its answers with "\r" gets the next prompt at once.
TEST(Executa_Dialogo, NeverWaitsForTheRestOfALineEnd) {
  EXPECT_EQ(Dialogo_Com({"(1+2)\n", "n\r"}), 0);
  EXPECT_EQ(roteiro.proxima, 2u);
  EXPECT_EQ(Dialogo_Com({"(1+2)\n", "s\r", "\n(2*3)\r", "\nn\n", ""}), 0);
  EXPECT_EQ(roteiro.vista_a_cada_leitura[2], CICLO +
                                                 "Pilha 1: 1\nPilha 2: +\n"
                                                 "Pilha 1: 21\n\nResposta: 3 \n" +
                                                 CONTINUA + CICLO);
  EXPECT_TRUE(Termina_Com(captura::saida, "\nResposta: 6 \n" + CONTINUA));
}

TEST(Executa_Dialogo, NeverReadsAgainOnceInputHasEnded) {
  EXPECT_EQ(Dialogo_Com({"(1+2)\n", "", "S\n(3*4)\n"}), 0);
  EXPECT_EQ(roteiro.proxima, 2u);
  EXPECT_TRUE(Termina_Com(captura::saida, CONTINUA + "\n"));
}

TEST(Executa_Dialogo, EndsAsAtTheEndOfInputWhenAReadFails) {
  EXPECT_EQ(Dialogo_Com({"(1+2)\n", FALHA, "S\n"}), 1);
  EXPECT_EQ(roteiro.proxima, 2u);
  EXPECT_TRUE(Termina_Com(captura::saida, "\nResposta: 3 \n" + CONTINUA + "\n"));
  EXPECT_TRUE(Falha_Do_Console().leitura);
  EXPECT_EQ(Falha_Do_Console().erro, EIO);
  // A terminal that hung up fails the closing write too: the read is still named.
  EXPECT_EQ(Dialogo_Com({"(1+2)\n", FALHA}, 2), 1);
  EXPECT_TRUE(Falha_Do_Console().leitura);
}

TEST(Executa_Dialogo, StopsWritingAndReadingWhenAWriteFails) {
  EXPECT_EQ(Dialogo_Com({"(1+2)\nS\n", "(3*4)\nN\n", ""}, 0), 1);
  EXPECT_EQ(roteiro.proxima, 0u); // the write before the first read failed
  EXPECT_EQ(captura::saida, "");
  EXPECT_FALSE(Falha_Do_Console().leitura);
  EXPECT_EQ(Falha_Do_Console().erro, ENOSPC);

  EXPECT_EQ(Dialogo_Com({"(1+2)\nS\n", "(3*4)\nN\n", ""}, 1), 1);
  EXPECT_EQ(roteiro.proxima, 1u);
  EXPECT_EQ(captura::saida, CICLO);
}

struct CasoDeSobra {
  std::vector<std::string> respostas;
  std::size_t nao_usada;
};

TEST(Entrada_Nao_Usada, CountsWhatWasReadAheadButNotUsed) {
  const CasoDeSobra casos[] = {
      {{"(1+2)\nn\nresto\n"}, 6},
      {{"(1+2)\nn\r\nresto"}, 5}, // the "\n" belongs to
                                  // the answer's line
      {{"(1+2)\nn\r", "\nresto"}, 0},
      {{"(1+2)\nnao\n"}, 2},
      {{"(1+2)\n", ""}, 0},
  };
  for (const CasoDeSobra &caso : casos) {
    Dialogo_Com(caso.respostas);
    EXPECT_EQ(Entrada_Nao_Usada(), caso.nao_usada) << caso.respostas[0];
  }
}

TEST(Escreve_Texto, PassesOnTextsLongerThanTheOutputBlock) {
  const std::string longo(3 * BLOCO_DE_SAIDA + 5, 'x');
  const std::string saida = Saida_De([&] {
    Escreve_Texto("abc");
    Escreve_Texto(longo);
    Escreve_Texto("def");
  });
  EXPECT_EQ(saida, "abc" + longo + "def");
}

// A trace line written where the block has 0 to 20 bytes of room left comes out
// whole and in place: no value is cut, lost or written beyond the block.
TEST(exibe_pilha, WritesWholeLinesAtTheEndOfTheOutputBlock) {
  TPILHA pilha;
  Cria_Pilha(&pilha);
  for (const int valor : {INT_MIN, int{'*'}, 7, INT_MAX, -45}) {
    Push(&pilha, valor);
  }
  const std::string linha = "Pilha -2147483648: -4521474836477*-2147483648\n";
  for (std::size_t sobra = 0; sobra <= 20; ++sobra) {
    const std::string antes(BLOCO_DE_SAIDA - sobra, '.');
    const std::string saida = Saida_De([&] {
      Escreve_Texto(antes);
      exibe_pilha(INT_MIN, pilha);
      Escreve_Inteiro(INT_MIN);
      Escreve_Caractere('!');
    });
    EXPECT_EQ(saida, antes + linha + "-2147483648!") << sobra;
  }
  destroi_pilha(&pilha);
}

// The editor's lines, "" for the end of input, and the prompts it is given, "E:"
// before an expression's and "R:" before an answer's.
std::vector<std::string> linhas_editadas, prompts_do_editor;

long Edita(std::string_view prompt, bool historico, char *destino,
           std::size_t capacidade) {
  prompts_do_editor.push_back((historico ? "E:" : "R:") + std::string(prompt));
  return static_cast<long>(
      linhas_editadas.at(prompts_do_editor.size() - 1).copy(destino, capacidade));
}

// The editor draws the last line of each prompt once; the console's own leftovers,
// the "m" of "sim", are read first, and plainly.
TEST(Liga_Editor, ReadsEveryLineThroughTheEditorThatTheConsoleDoesNotHold) {
  linhas_editadas = {"(1+2)\n", "x\n", "sim\n", ""};
  prompts_do_editor.clear();
  Captura_Texto("");
  Liga_Editor(Edita);
  EXPECT_EQ(Executa_Dialogo(false), 0);
  EXPECT_EQ(prompts_do_editor,
            (std::vector<std::string>{"E:Expressao: ", "R:Continua [S/N]? ",
                                      "R:", "R:Continua [S/N]? "}));
  EXPECT_EQ(captura::saida,
            "Analisador de Expressoes\n\nPilha 1: 1\nPilha 2: +\nPilha 1: 21\n"
            "\nResposta: 3 \n\n" +
                CICLO + "\nERRO: Pilha Vazia\n\n\n");
}

TEST(Executa_Dialogo, ClearsTheScreenOnlyOnAConsole) {
  // Windows' "cls" clears the console itself and writes nothing into the output.
  const std::string limpa(Limpa_A_Tela());
  EXPECT_EQ(Saida_De([] { Executa_Dialogo(true); }, "\n"),
            limpa + CICLO + "\nERRO: Pilha Vazia\n" + CONTINUA + "\n");
  EXPECT_EQ(Saida_De([] { Executa_Dialogo(false); }, ""), CICLO + "\n");
}

} // namespace
