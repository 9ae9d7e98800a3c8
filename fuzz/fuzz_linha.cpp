// Fuzz target: one input line, from the length limit through the balance rule and the
// evaluation to its printed outcome, checked against a model of the dialogue written
// with std::vector, a recursive evaluator, and the count of live nodes.
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "alocacao_controlada.hpp"
#include "analisar_exp_encad.hpp"
#include "captura.hpp"

namespace {

// ---- The model ----

int Conta(std::uint32_t esquerdo, std::uint32_t direito, char operador) {
  switch (operador) {
  case '+':
    return static_cast<int>(esquerdo + direito);
  case '-':
    return static_cast<int>(esquerdo - direito);
  case '*':
    return static_cast<int>(esquerdo * direito);
  default: // '/', with a divisor other than 0
    if (static_cast<int>(direito) == -1) {
      return static_cast<int>(0u - esquerdo);
    }
    return static_cast<int>(esquerdo) / static_cast<int>(direito);
  }
}

bool E_Operador(char caractere) {
  return std::string("+-*/").find(caractere) != std::string::npos;
}

std::string Rastro(int numero, const std::vector<int> &pilha) {
  std::string linha = "Pilha " + std::to_string(numero) + ": ";
  if (pilha.empty()) {
    return linha + "vazia\n";
  }
  for (auto valor = pilha.rbegin(); valor != pilha.rend(); ++valor) {
    const bool operador =
        *valor == '+' || *valor == '-' || *valor == '*' || *valor == '/';
    linha +=
        operador ? std::string(1, static_cast<char>(*valor)) : std::to_string(*valor);
  }
  return linha + "\n";
}

std::string Avalia_Modelo(const std::string &linha) {
  std::vector<int> operandos, operadores;
  std::string saida;
  for (char caractere : linha) {
    if (caractere >= '0' && caractere <= '9') {
      operandos.push_back(caractere - '0');
      saida += Rastro(1, operandos);
    } else if (E_Operador(caractere)) {
      operadores.push_back(caractere);
      saida += Rastro(2, operadores);
    } else if (caractere == ')') {
      if (operandos.size() < 2 || operadores.empty()) {
        return saida + "\nERRO: Pilha Vazia\n";
      }
      const int direito = operandos.back();
      operandos.pop_back();
      const int esquerdo = operandos.back();
      operandos.pop_back();
      const char operador = static_cast<char>(operadores.back());
      operadores.pop_back();
      if (operador == '/' && direito == 0) {
        return saida + "\nERRO: Divisao por 0\n";
      }
      operandos.push_back(Conta(static_cast<std::uint32_t>(esquerdo),
                                static_cast<std::uint32_t>(direito), operador));
    }
  }
  if (operandos.empty()) {
    return saida + "\nERRO: Pilha Vazia\n";
  }
  return saida + "\nResposta: " + std::to_string(operandos.back()) + " \n";
}

std::string Modelo(const std::string &linha) {
  if (linha.size() > 50) {
    return "ERRO: Expressao muito Longa";
  }
  std::size_t operadores = 0, abre = 0, fecha = 0, abre_colchete = 0, fecha_colchete = 0;
  for (char caractere : linha) {
    operadores += E_Operador(caractere);
    abre += caractere == '(';
    fecha += caractere == ')';
    abre_colchete += caractere == '[';
    fecha_colchete += caractere == ']';
  }
  if (abre != fecha || abre_colchete != fecha_colchete || abre != operadores) {
    return "Erro: Expressao Invalida";
  }
  return Avalia_Modelo(linha);
}

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
      *posicao >= linha.size() || !E_Operador(linha[*posicao])) {
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
    *resultado = {false, Conta(static_cast<std::uint32_t>(esquerdo.valor),
                               static_cast<std::uint32_t>(direito.valor), operador)};
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
  Confere(saida == Modelo(linha), "the outcome differs from the model");
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
