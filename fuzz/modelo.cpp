// A model of the dialogue, written with std::vector and std::string alone: the
// evaluation with two vectors for stacks, the line and the answer read from the whole
// input at once.
#include "modelo.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

int Conta_Do_Modelo(int esquerdo_com_sinal, int direito_com_sinal, char operador) {
  const auto esquerdo = static_cast<std::uint32_t>(esquerdo_com_sinal);
  const auto direito = static_cast<std::uint32_t>(direito_com_sinal);
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

bool E_Operador_Do_Modelo(char caractere) {
  return std::string("+-*/").find(caractere) != std::string::npos;
}

namespace {

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
    } else if (E_Operador_Do_Modelo(caractere)) {
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
      operandos.push_back(Conta_Do_Modelo(esquerdo, direito, operador));
    }
  }
  if (operandos.empty()) {
    return saida + "\nERRO: Pilha Vazia\n";
  }
  return saida + "\nResposta: " + std::to_string(operandos.back()) + " \n";
}

} // namespace

std::string Modelo_Da_Linha(const std::string &linha) {
  if (linha.size() > 50) {
    return "ERRO: Expressao muito Longa";
  }
  std::size_t operadores = 0, abre = 0, fecha = 0, abre_colchete = 0, fecha_colchete = 0;
  for (char caractere : linha) {
    operadores += E_Operador_Do_Modelo(caractere);
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

std::string Modelo_Do_Dialogo(const std::string &entrada) {
  const std::string ciclo = "Analisador de Expressoes\n\nExpressao: ";
  const std::string respostas = "SsNn";
  std::string saida;
  std::size_t posicao = 0;
  for (;;) {
    saida += ciclo;
    if (posicao == entrada.size()) {
      return saida + "\n";
    }
    const std::size_t quebra = std::min(entrada.find('\n', posicao), entrada.size());
    std::string linha = entrada.substr(posicao, quebra - posicao);
    if (quebra < entrada.size() && !linha.empty() && linha.back() == '\r') {
      linha.pop_back();
    }
    posicao = std::min(quebra + 1, entrada.size());
    saida += Modelo_Da_Linha(linha) + "\nContinua [S/N]? ";
    while (posicao < entrada.size() &&
           respostas.find(entrada[posicao]) == std::string::npos) {
      ++posicao;
    }
    if (posicao == entrada.size()) {
      return saida + "\n";
    }
    const char resposta = entrada[posicao++];
    if (posicao < entrada.size() && entrada[posicao++] == '\r' &&
        posicao < entrada.size() && entrada[posicao] == '\n') {
      ++posicao; // "\r\n" after the answer is one line end
    }
    if (resposta == 'N' || resposta == 'n') {
      return saida;
    }
  }
}
