// Unit tests of the evaluation of one line: trace lines, answers, failure messages,
// release of every node, and the outcome when the heap gives no node.
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "alocacao_controlada.hpp"
#include "analisar_exp_encad.hpp"
#include "captura.hpp"

namespace {

std::string Resposta_A(const std::string &linha) {
  return Saida_De([&] { Responde_Expressao(linha.data(), linha.size()); });
}

struct CasoDeLinha {
  const char *linha;
  const char *saida;
};

TEST(Responde_Expressao, TracesEveryPushAndPrintsTheOutcome) {
  const CasoDeLinha casos[] = {
      {"((1+2)*3)", "Pilha 1: 1\nPilha 2: +\nPilha 1: 21\nPilha 2: *\nPilha 1: 33\n"
                    "\nResposta: 9 \n"},
      {"12", "Pilha 1: 1\nPilha 1: 21\n\nResposta: 2 \n"},
      {"(12+3)", "Pilha 1: 1\nPilha 1: 21\nPilha 2: +\nPilha 1: 321\n\nResposta: 5 \n"},
      {"(8/0)", "Pilha 1: 8\nPilha 2: /\nPilha 1: 08\n\nERRO: Divisao por 0\n"},
      {"((8/0)+1)", "Pilha 1: 8\nPilha 2: /\nPilha 1: 08\n\nERRO: Divisao por 0\n"},
      {"(a+b)", "Pilha 2: +\n\nERRO: Pilha Vazia\n"},
      {")1+2(", "\nERRO: Pilha Vazia\n"},
      {"(1+)", "Pilha 1: 1\nPilha 2: +\n\nERRO: Pilha Vazia\n"},
      {"(12)+", "Pilha 1: 1\nPilha 1: 21\n\nERRO: Pilha Vazia\n"},
      {"((6*7)+1)", "Pilha 1: 6\nPilha 2: *\nPilha 1: 76\nPilha 2: +\nPilha 1: 1*\n"
                    "\nResposta: 43 \n"},
      {"((0-7)/2)", "Pilha 1: 0\nPilha 2: -\nPilha 1: 70\nPilha 2: /\nPilha 1: 2-7\n"
                    "\nResposta: -3 \n"},
      {"(7/2)", "Pilha 1: 7\nPilha 2: /\nPilha 1: 27\n\nResposta: 3 \n"},
      {"[(4 - 9)]", "Pilha 1: 4\nPilha 2: -\nPilha 1: 94\n\nResposta: -5 \n"},
      {"", "\nERRO: Pilha Vazia\n"},
      {"1+2", "Erro: Expressao Invalida"},
      {"((1+2)", "Erro: Expressao Invalida"},
      {"(1+2)                                             ", // 50 characters
       "Pilha 1: 1\nPilha 2: +\nPilha 1: 21\n\nResposta: 3 \n"},
      {"(1+2)                                              ",
       "ERRO: Expressao muito Longa"}, // 51
  };
  for (const CasoDeLinha &caso : casos) {
    EXPECT_EQ(Resposta_A(caso.linha), caso.saida) << caso.linha;
  }
}

TEST(Avalia_Expressao, ReportsFullStackWhereANodeCannotBeHad) {
  // Outcome of "((1+2)*3)" when its k-th node allocation fails, k = 1, 2, ...
  const char *saidas[] = {
      "Pilha 1: vazia\n\nERRO: Pilha Cheia\n",
      "Pilha 1: 1\nPilha 2: vazia\n\nERRO: Pilha Cheia\n",
      "Pilha 1: 1\nPilha 2: +\nPilha 1: 1\n\nERRO: Pilha Cheia\n",
      "Pilha 1: 1\nPilha 2: +\nPilha 1: 21\n\nERRO: Pilha Cheia\n", // the sum of ')'
  };
  long k = 1;
  for (const char *saida : saidas) {
    Falha_Nodo(k, false);
    EXPECT_EQ(Resposta_A("((1+2)*3)"), saida) << "allocation " << k;
    ++k;
  }
}

// For k = 1, 2, ... until a run meets no failure, the k-th node allocation fails,
// alone or with every one after it: each run ends as it normally does or with
// "Pilha Cheia", leaves no node behind, and the next run is answered normally.
TEST(Responde_Expressao, SurvivesEveryFailedNodeAllocation) {
  const char *linhas[] = {
      "((1+2)*3)",
      "(((1+2)*(3+4))/(0-2))",
      "((((((((((((1+1)+1)+1)+1)+1)+1)+1)+1)+1)+1)+1)+1)",
      "(1+(2+(3+(4+(5+(6+(7+(8+(9+(1+(2+(3+4))))))))))))",
      "12345678901234567890",
      "((8/0)+1)",
      "(a+b)",
      "(((9*9)*(9*9))-((7/2)/(0-1)))",
  };
  for (const std::string linha : linhas) {
    const std::string normal = Resposta_A(linha);
    for (const bool todas_depois : {false, true}) {
      for (long k = 1;; ++k) {
        Falha_Nodo(k, todas_depois);
        const std::string saida = Resposta_A(linha);
        const bool falhou = Falha_Ocorreu();
        Desarma_Falhas();
        // Every line pushes: a sweep that never fails its first allocation tests nothing.
        ASSERT_TRUE(falhou || k > 1) << linha << ": no allocation failed";
        EXPECT_TRUE(falhou ? Termina_Com(saida, "\nERRO: Pilha Cheia\n")
                           : saida == normal)
            << linha << ", k = " << k << "\n"
            << saida;
        EXPECT_EQ(Resposta_A(linha), normal) << linha << ", after k = " << k;
        if (!falhou) {
          break;
        }
      }
    }
  }
}

// Each step as "C" (created), "P" (pushed) "D" (popped), "L" (released) or "R" (the
// line refused), the stack, the value or reason, a failed status after "!", the call
// that made it, the character being read, and both stacks top first: operands as
// numbers, operators as characters.
std::string passos;

std::string Valor(int valor, bool de_operadores) {
  return de_operadores ? std::string(1, char(valor)) : std::to_string(valor);
}

std::string Conteudo(const TPILHA *pilha, bool de_operadores) {
  std::string texto;
  for (const TNODO *nodo = pilha->topo; nodo != nullptr; nodo = nodo->prox) {
    texto += (texto.empty() ? "" : " ") + Valor(nodo->valor, de_operadores);
  }
  return texto;
}

// The call on the step's line of the source: it must be the evaluation's function
// of the step, on the step's stack. A push or a pop is then told by where its value
// comes from or goes, the call's last argument ("digito", "direito", ...), and is
// "?" when the line holds no such call.
std::string Chamada(const TPASSO *passo) {
  static const std::vector<std::string> linhas = [] {
    std::ifstream fonte(FONTE_DA_AVALIACAO);
    std::vector<std::string> lidas(1); // line 1 at index 1
    for (std::string linha; std::getline(fonte, linha);) {
      lidas.push_back(linha);
    }
    return lidas;
  }();
  const char *funcoes[] = {"Cria_Pilhas(&", "Empilha", "Desempilha(", "Libera(",
                           "Relata_Recusa("};
  const std::size_t numero = static_cast<std::size_t>(passo->linha);
  const std::string linha = numero < linhas.size() ? linhas[numero] : "";
  const std::size_t inicio = linha.find(funcoes[passo->acao]);
  if (inicio == std::string::npos) {
    return " ?";
  }
  if (passo->acao == COMECOU || passo->acao == RECUSOU) {
    return "";
  }
  std::vector<std::string> argumentos(1); // the record, the stack, its number, the value
  for (std::size_t i = linha.find('(', inicio) + 1; i < linha.size() && linha[i] != ')';
       ++i) {
    linha[i] == ',' ? argumentos.emplace_back() : argumentos.back() += linha[i];
  }
  if (argumentos.size() != 4 || argumentos[2] != " " + std::to_string(passo->pilha)) {
    return " ?";
  }
  const std::string &destino = argumentos[3];
  return passo->acao == LIBEROU ? ""
                                : " " + destino.substr(destino.find_first_not_of(" &"));
}

void Anota_Passo(const TPASSO *passo) {
  passos += (passos.empty() ? "" : "; ") + std::string(1, "CPDLR"[passo->acao]);
  if (passo->acao != COMECOU && passo->acao != RECUSOU) {
    passos += std::to_string(passo->pilha);
  }
  if (passo->acao == EMPILHOU || passo->acao == RECUSOU ||
      (passo->acao == DESEMPILHOU && passo->status == SUCESSO)) {
    passos += ":" + Valor(passo->valor, passo->pilha == 2);
  }
  if (passo->status != SUCESSO) {
    passos += "!" + std::to_string(passo->status);
  }
  EXPECT_EQ(passo->mensagem, Mensagem_De_Erro(passo->status));
  passos += Chamada(passo) + " @" + std::to_string(passo->lendo) + " [" +
            Conteudo(passo->operandos, false) + "|" + Conteudo(passo->operadores, true) +
            "]";
}

TEST(Observa_Avaliacao, SeesEveryPushPopAndReleaseWithBothStacks) {
  const CasoDeLinha casos[] = {
      {"((1+2)*3)",
       "C @0 [|]; P1:1 digito @2 [1|]; P2:+ operador @3 [1|+]; P1:2 digito @4 [2 1|+]; "
       "D1:2 direito @5 [1|+]; D1:1 esquerdo @5 [|+]; D2:+ operador @5 [|]; "
       "P1:3 resultado @5 [3|]; P2:* operador @6 [3|*]; P1:3 digito @7 [3 3|*]; "
       "D1:3 direito @8 [3|*]; D1:3 esquerdo @8 [|*]; D2:* operador @8 [|]; "
       "P1:9 resultado @8 [9|]; D1:9 resposta @9 [|]; L1 @9 [|]; L2 @9 [|]"},
      {"12", "C @0 [|]; P1:1 digito @0 [1|]; P1:2 digito @1 [2 1|]; "
             "D1:2 resposta @2 [1|]; L1 @2 [|]; L2 @2 [|]"},
      {"(12+3)",
       "C @0 [|]; P1:1 digito @1 [1|]; P1:2 digito @2 [2 1|]; P2:+ operador @3 [2 1|+]; "
       "P1:3 digito @4 [3 2 1|+]; D1:3 direito @5 [2 1|+]; D1:2 esquerdo @5 [1|+]; "
       "D2:+ operador @5 [1|]; P1:5 resultado @5 [5 1|]; D1:5 resposta @6 [1|]; "
       "L1 @6 [|]; L2 @6 [|]"},
      {")1+2(", "C @0 [|]; D1!2 direito @0 [|]; L1!2 @0 [|]; L2!2 @0 [|]"},
      {"((8/0)+1)",
       "C @0 [|]; P1:8 digito @2 [8|]; P2:/ operador @3 [8|/]; P1:0 digito @4 [0 8|/]; "
       "D1:0 direito @5 [8|/]; D1:8 esquerdo @5 [|/]; D2:/ operador @5 [|]; "
       "L1!3 @5 [|]; L2!3 @5 [|]"},
      {"((6*7)+1)",
       "C @0 [|]; P1:6 digito @2 [6|]; P2:* operador @3 [6|*]; P1:7 digito @4 [7 6|*]; "
       "D1:7 direito @5 [6|*]; D1:6 esquerdo @5 [|*]; D2:* operador @5 [|]; "
       "P1:42 resultado @5 [42|]; P2:+ operador @6 [42|+]; P1:1 digito @7 [1 42|+]; "
       "D1:1 direito @8 [42|+]; D1:42 esquerdo @8 [|+]; D2:+ operador @8 [|]; "
       "P1:43 resultado @8 [43|]; D1:43 resposta @9 [|]; L1 @9 [|]; L2 @9 [|]"},
      {"((1+2)", "R:2 @0 [|]"},
      {"111111111111111111111111111111111111111111111111111",
       "R:1 @0 [|]"}, // one character too many
  };
  Observa_Avaliacao(Anota_Passo);
  for (const CasoDeLinha &caso : casos) {
    passos.clear();
    Resposta_A(caso.linha);
    EXPECT_EQ(passos, caso.saida) << caso.linha;
  }
  passos.clear();
  Falha_Nodo(2, false); // the '+' of "(1+2)": the stack is full
  Resposta_A("(1+2)");
  EXPECT_EQ(passos,
            "C @0 [|]; P1:1 digito @1 [1|]; P2:+!1 operador @2 [1|]; L1!1 @2 [|]; "
            "L2!1 @2 [|]");
}

// The three messages are pinned with the outcomes that print them, above.
TEST(Imprime_Erro, PrintsNothingForAStatusThatIsNoFailure) {
  for (const int status : {SUCESSO, 4, -1}) {
    EXPECT_EQ(Saida_De([&] { Imprime_Erro(status); }), "") << status;
  }
}

} // namespace
