// Standard output of the program, gathered in one block and handed to std::cout whole.
#include "saida.hpp"

#include <charconv>
#include <cstring>
#include <iostream>

namespace {

char bloco[1 << 16];
std::size_t usado = 0;

void Passa_Adiante() {
  std::cout.rdbuf()->sputn(bloco, static_cast<std::streamsize>(usado));
  usado = 0;
}

} // namespace

void Escreve_Texto(std::string_view texto) {
  if (texto.size() > sizeof bloco - usado) {
    Passa_Adiante();
    if (texto.size() > sizeof bloco) {
      std::cout.rdbuf()->sputn(texto.data(), static_cast<std::streamsize>(texto.size()));
      return;
    }
  }
  std::memcpy(bloco + usado, texto.data(), texto.size());
  usado += texto.size();
}

char *Formata_Inteiro(char *destino, int valor) {
  if (valor >= 0 && valor <= 9) { // almost every value traced is a single digit
    *destino = static_cast<char>('0' + valor);
    return destino + 1;
  }
  return std::to_chars(destino, destino + 11, valor).ptr; // "-2147483648" at most
}

void Escreve_Inteiro(int valor) {
  char digitos[11];
  const char *fim = Formata_Inteiro(digitos, valor);
  Escreve_Texto(std::string_view(digitos, static_cast<std::size_t>(fim - digitos)));
}

void Descarrega_Saida() {
  Passa_Adiante();
  std::cout.flush();
}
