// Entry point of the expression analyser: sets up the console and runs the dialogue.
#include <iostream>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "analisar_exp_encad.hpp"

namespace {

// Asked once: the answer cannot change while the program runs.
bool Saida_E_Console() {
#ifdef _WIN32
  return true;
#else
  return isatty(STDOUT_FILENO) == 1;
#endif
}

} // namespace

int main() {
  // The dialogue does its own flushing; unsynchronised streams buffer freely.
  std::ios::sync_with_stdio(false);
  std::cin.tie(nullptr);
  return Executa_Dialogo(Saida_E_Console());
}
