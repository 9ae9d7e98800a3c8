// Runs a piece of the program with std::cin and std::cout bound to strings, and
// looks at what it printed.
#pragma once

#include <iostream>
#include <sstream>
#include <string>

#include "console.hpp"

template <typename Acao>
std::string Saida_De(Acao acao, const std::string &entrada = "") {
  std::istringstream fonte(entrada);
  std::ostringstream destino;
  std::streambuf *cin_antes = std::cin.rdbuf(fonte.rdbuf());
  std::streambuf *cout_antes = std::cout.rdbuf(destino.rdbuf());
  acao();
  Descarrega_Saida();
  std::cout.rdbuf(cout_antes);
  std::cin.rdbuf(cin_antes);
  return destino.str();
}

inline bool Termina_Com(const std::string &texto, const std::string &fim) {
  return texto.size() >= fim.size() &&
         texto.compare(texto.size() - fim.size(), fim.size(), fim) == 0;
}
