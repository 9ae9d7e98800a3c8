// Time to answer one line, trace lines included, for lines of several shapes.
#include <string>

#include <benchmark/benchmark.h>

#include "analisar_exp_encad.hpp"
#include "console.hpp"

namespace {

// Drops what is printed, so that only the program's own work is timed.
bool Descarta(const char *, std::size_t) {
  return true;
}

long Sem_Entrada(char *, std::size_t) {
  return 0;
}

void Responde(benchmark::State &estado, const std::string &linha) {
  Liga_Console(Sem_Entrada, Descarta);
  for (auto _ : estado) {
    Responde_Expressao(linha.data(), linha.size());
  }
  Descarrega_Saida();
  estado.SetItemsProcessed(estado.iterations());
}

} // namespace

// One operation; twelve nested to the left; a balanced tree of depth four; a line
// refused by the balance rule; a line of 50 digits, whose trace lines grow to 50 values.
BENCHMARK_CAPTURE(Responde, simples, std::string("(1+2)"));
BENCHMARK_CAPTURE(Responde, aninhada_a_esquerda,
                  std::string("((((((((((((1+1)+2)+3)+4)+5)+6)+7)+8)+9)+1)+2)+3)"));
BENCHMARK_CAPTURE(Responde, arvore_equilibrada,
                  std::string("((((1+2)*(3-4))/((5+6)*(7-8)))-(9*2))"));
BENCHMARK_CAPTURE(Responde, invalida, std::string("((1+2)*3"));
BENCHMARK_CAPTURE(Responde, cinquenta_digitos, std::string(50, '7'));

BENCHMARK_MAIN();
