// Runs a piece of the program with the console's ends bound to strings, and looks at
// what it printed.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "console.hpp"

namespace captura {

inline std::string entrada;
inline std::size_t lidos = 0;
inline std::string saida;

inline long Le(char *destino, std::size_t capacidade) {
  const std::size_t quanto = std::min(capacidade, entrada.size() - lidos);
  std::memcpy(destino, entrada.data() + lidos, quanto);
  lidos += quanto;
  return static_cast<long>(quanto);
}

inline bool Escreve(const char *origem, std::size_t tamanho) {
  saida.append(origem, tamanho);
  return true;
}

} // namespace captura

// What every cycle of the dialogue prints around the expression.
inline const std::string CICLO = "Analisador de Expressoes\n\nExpressao: ";
inline const std::string CONTINUA = "\nContinua [S/N]? ";

// Binds the console to `le` for input, and for output to captura::saida, emptied.
inline void Captura_Com(TLEITURA le, TESCRITA escreve = captura::Escreve,
                        TLIMPEZA limpa = nullptr) {
  captura::saida.clear();
  Liga_Console(le, escreve, limpa);
}

// Binds the console to read `entrada` and to write into captura::saida, emptied.
inline void Captura_Texto(const std::string &entrada) {
  captura::entrada = entrada;
  captura::lidos = 0;
  Captura_Com(captura::Le);
}

template <typename Acao>
std::string Saida_De(Acao acao, const std::string &entrada = "") {
  Captura_Texto(entrada);
  acao();
  Descarrega_Saida();
  return captura::saida;
}

inline bool Termina_Com(const std::string &texto, const std::string &fim) {
  return texto.size() >= fim.size() &&
         texto.compare(texto.size() - fim.size(), fim.size(), fim) == 0;
}
