// Fuzz target: one input line, from the length limit through the balance rule and the
// evaluation to its printed outcome, checked against the model of the dialogue, a
// recursive evaluator, and the count of live nodes.
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "alocacao_controlada.hpp"
#include "analisar_exp_encad.hpp"
#include "captura.hpp"
#include "modelo.hpp"

namespace {

// ---- The recursive evaluator, for lines that are exactly E := digit | (E op E) ----

struct TValor {
  bool divisao_por_zero;
  int valor;
};

bool Le_Termo(const std::string &linha, std::size_t *posicao, TValor *resultado) {
  if (*posicao >= linha.size()) {
    return false;
  }
  const char caractere = linha[(*posicao)++];
  if (caractere >= '0' && caractere <= '9') {
    *resultado = {false, caractere - '0'};
    return true;
  }
  TValor esquerdo, direito;
  if (caractere != '(' || !Le_Termo(linha, posicao, &esquerdo) ||
      *posicao >= linha.size() || !E_Operador_Do_Modelo(linha[*posicao])) {
    return false;
  }
  const char operador = linha[(*posicao)++];
  if (!Le_Termo(linha, posicao, &direito) || *posicao >= linha.size() ||
      linha[(*posicao)++] != ')') {
    return false;
  }
  if (esquerdo.divisao_por_zero || direito.divisao_por_zero ||
      (operador == '/' && direito.valor == 0)) {
    *resultado = {true, 0};
  } else {
    *resultado = {false, Conta_Do_Modelo(esquerdo.valor, direito.valor, operador)};
  }
  return true;
}

void Confere(bool condicao, const char *o_que) {
  if (!condicao) {
    std::cerr << "fuzz_linha: " << o_que << "\n";
    std::abort();
  }
}

std::string Resposta_A(const std::string &linha) {
  return Saida_De([&] { Responde_Expressao(linha.data(), linha.size()); });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  Instala_Alocacao_Controlada();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
  const std::string linha(reinterpret_cast<const char *>(dados), tamanho);
  const std::string saida = Resposta_A(linha);
  Confere(saida == Modelo_Da_Linha(linha), "the outcome differs from the model");
  Confere(Nodos_Vivos() == 0, "a node survived the evaluation");

  std::size_t posicao = 0;
  TValor esperado;
  if (linha.size() <= 50 && Le_Termo(linha, &posicao, &esperado) &&
      posicao == linha.size()) {
    Confere(
        Termina_Com(saida, esperado.divisao_por_zero
                               ? "\nERRO: Divisao por 0\n"
                               : "\nResposta: " + std::to_string(esperado.valor) + " \n"),
        "the answer differs from the recursive evaluation");
  }

  // The same line once more with one node allocation failing, then once again whole.
  Falha_Nodo(static_cast<long>(tamanho % 16) + 1, tamanho % 2 == 1);
  const std::string sem_memoria = Resposta_A(linha);
  const bool falhou = Falha_Ocorreu();
  Desarma_Falhas();
  Confere(falhou ? Termina_Com(sem_memoria, "\nERRO: Pilha Cheia\n")
                 : sem_memoria == saida,
          "a failed allocation did not end as Pilha Cheia");
  Confere(Nodos_Vivos() == 0, "a node survived a failed allocation");
  Confere(Resposta_A(linha) == saida, "the evaluation after a failed allocation differs");
  return 0;
}
