// Time to answer one line, trace lines included, for lines of several shapes.
#include <iostream>
#include <string>

#include <benchmark/benchmark.h>

#include "analisar_exp_encad.hpp"

namespace {

// Counts what is printed and drops it, so that only the program's own work is timed.
struct TSaidaNula : std::streambuf {
  std::streamsize bytes = 0;
  char bloco[4096];
  TSaidaNula() {
    setp(bloco, bloco + sizeof bloco);
  }
  int_type overflow(int_type caractere) override {
    bytes += pptr() - pbase();
    setp(bloco, bloco + sizeof bloco);
    return traits_type::eq_int_type(caractere, traits_type::eof()) ? 0 : sputc(caractere);
  }
};

void Responde(benchmark::State &estado, const std::string &linha) {
  TSaidaNula nula;
  std::streambuf *antes = std::cout.rdbuf(&nula);
  for (auto _ : estado) {
    Responde_Expressao(linha.data(), linha.size());
  }
  std::cout.rdbuf(antes);
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
