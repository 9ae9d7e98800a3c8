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
#include "modelo.hpp"
#include "pilha.hpp"

namespace {

// Input as scripted, one reply per read: some bytes, or the end of input (""); past
// the script a read fails the test. The k-th read or write fails when asked to. Each
// call of an end is noted in order, "L" a read, "E" a write, "T" a clearing, with
// "!" after a failed one; so is at each read the output let out by then.
struct TROTEIRO {
  std::vector<std::string> respostas;
  long falha_na_leitura = 0, falha_na_escrita = 0; // 0: none
  std::size_t proxima = 0;
  long escritas = 0;
  std::string chamadas{};
  std::vector<std::string> vista_a_cada_leitura{};
};
TROTEIRO roteiro;

long Le_Do_Roteiro(char *destino, std::size_t capacidade) {
  roteiro.vista_a_cada_leitura.push_back(captura::saida);
  roteiro.chamadas += "L";
  if (roteiro.proxima == roteiro.respostas.size()) {
    ADD_FAILURE() << "read past the end of input";
    return 0;
  }
  const std::string &resposta = roteiro.respostas[roteiro.proxima++];
  if (static_cast<long>(roteiro.proxima) == roteiro.falha_na_leitura) {
    roteiro.chamadas += "!";
    errno = EIO;
    return -1;
  }
  EXPECT_LE(resposta.size(), capacidade);
  resposta.copy(destino, resposta.size());
  return static_cast<long>(resposta.size());
}

// A terminal that hung up fails every write after the read.
bool Escreve_Do_Roteiro(const char *origem, std::size_t tamanho) {
  roteiro.chamadas += "E";
  if (++roteiro.escritas == roteiro.falha_na_escrita ||
      roteiro.chamadas.find('!') != std::string::npos) {
    roteiro.chamadas += "!";
    errno = ENOSPC;
    return false;
  }
  return captura::Escreve(origem, tamanho);
}

void Limpa_Do_Roteiro() {
  roteiro.chamadas += "T";
}

void Comeca_Roteiro(std::vector<std::string> respostas, TLIMPEZA limpa = nullptr) {
  roteiro = TROTEIRO{std::move(respostas)};
  Captura_Com(Le_Do_Roteiro, Escreve_Do_Roteiro, limpa);
}

// Runs the whole dialogue on the script; returns its exit code.
int Dialogo_Com(std::vector<std::string> respostas, TLIMPEZA limpa = nullptr) {
  Comeca_Roteiro(std::move(respostas), limpa);
  return Executa_Dialogo();
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
  while (Le_Linha("", false, texto, sizeof texto, &tamanho)) {
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

// A whole dialogue, one byte a read, that ends where it says 'N'.
const std::string SESSAO =
    "((1+2)*3)\r\nsim\n(8/0)\nxS\r\n" + std::string(60, '(') + "\nS\n\nS\n(7/2)\nN\n";

// For every k, input ends at the k-th read: the dialogue ends at once as the model
// says, and reads nothing more. Or the k-th read fails, at a terminal that then hangs
// up: it ends as at that end, with status 1 and the read named, and nothing read or
// written after it. Every read is made with its prompt out.
TEST(Executa_Dialogo, EndsWhereverInputEndsOrAReadFails) {
  for (std::size_t corte = 0; corte <= SESSAO.size(); ++corte) {
    const std::string entrada = SESSAO.substr(0, corte);
    std::vector<std::string> respostas = Um_Byte_Por_Leitura(entrada);
    respostas.push_back("S\n(3*4)\n"); // after the end: never to be read
    EXPECT_EQ(Dialogo_Com(respostas), 0);
    EXPECT_EQ(captura::saida, Modelo_Do_Dialogo(entrada)) << "input cut at " << corte;
    for (const std::string &vista : roteiro.vista_a_cada_leitura) {
      EXPECT_TRUE(Termina_Com(vista, "\nExpressao: ") || Termina_Com(vista, "[S/N]? "));
    }

    Comeca_Roteiro(respostas);
    roteiro.falha_na_leitura = static_cast<long>(corte) + 1;
    const int codigo = Executa_Dialogo();
    const bool falhou = roteiro.chamadas.find('!') != std::string::npos;
    EXPECT_EQ(codigo, falhou ? 1 : 0) << corte; // or it ended before that read
    if (!falhou) {
      continue;
    }
    const std::string depois = roteiro.chamadas.substr(roteiro.chamadas.find('!'));
    EXPECT_TRUE(depois == "!" || depois == "!E!") << corte << roteiro.chamadas;
    EXPECT_EQ(Relato_Da_Falha(Falha_Do_Console()), Relato_Da_Falha({true, EIO}));
  }
}

// For every k until a run meets none, the k-th write fails: the dialogue ends with
// status 1 and the write named, having let out what it would have up to there and
// nothing after, not even a clearing of the screen; on input read one byte at a
// time, and read ahead whole.
TEST(Executa_Dialogo, StopsAtAFailedWriteWhicheverItIs) {
  const std::string normal = Modelo_Do_Dialogo(SESSAO);
  for (const auto &respostas : {Um_Byte_Por_Leitura(SESSAO), {SESSAO, ""}}) {
    for (long k = 1;; ++k) {
      Comeca_Roteiro(respostas, Limpa_Do_Roteiro);
      roteiro.falha_na_escrita = k;
      const int codigo = Executa_Dialogo();
      if (roteiro.escritas < k) {
        EXPECT_EQ(codigo, 0);
        EXPECT_EQ(captura::saida, normal);
        break;
      }
      EXPECT_EQ(codigo, 1) << k;
      EXPECT_TRUE(Termina_Com(roteiro.chamadas, "E!")) << k << roteiro.chamadas;
      EXPECT_EQ(normal.compare(0, captura::saida.size(), captura::saida), 0) << k;
      EXPECT_EQ(Relato_Da_Falha(Falha_Do_Console()), Relato_Da_Falha({false, ENOSPC}));
    }
  }
}

// What was gathered goes out before a clearing, even with input read ahead.
TEST(Limpa_Tela, LetsOutWhatCameBeforeFirst) {
  EXPECT_EQ(Dialogo_Com({"(1+2)\nS\n\n", ""}, Limpa_Do_Roteiro), 0);
  EXPECT_EQ(roteiro.chamadas, "TELETELE");
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

// The editor draws each prompt once, whole; the console's own leftovers, the "m" of
// "sim", are read first, and plainly.
TEST(Liga_Editor, ReadsEveryLineThroughTheEditorThatTheConsoleDoesNotHold) {
  linhas_editadas = {"(1+2)\n", "x\n", "sim\n", ""};
  prompts_do_editor.clear();
  Captura_Texto("");
  Liga_Editor(Edita);
  EXPECT_EQ(Executa_Dialogo(), 0);
  EXPECT_EQ(prompts_do_editor,
            (std::vector<std::string>{"E:Expressao: ", "R:Continua [S/N]? ",
                                      "R:", "R:Continua [S/N]? "}));
  EXPECT_EQ(captura::saida,
            "Analisador de Expressoes\n\nPilha 1: 1\nPilha 2: +\nPilha 1: 21\n"
            "\nResposta: 3 \n\n" +
                CICLO + "\nERRO: Pilha Vazia\n\n\n");
}

} // namespace
