// Buffered console: input taken in blocks as it arrives, output gathered in one
// block and handed to std::cout whole, flushed only before the program would wait.
#include "console.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iostream>

// ---- Output --------------------------------------------------------------------

namespace {

char saida[1 << 14];
std::size_t escrito = 0;

void Passa_Adiante() {
  std::cout.rdbuf()->sputn(saida, static_cast<std::streamsize>(escrito));
  escrito = 0;
}

} // namespace

char *Reserva_Saida(std::size_t tamanho) {
  if (tamanho > sizeof saida - escrito) {
    Passa_Adiante();
  }
  return saida + escrito;
}

void Confirma_Saida(char *fim) {
  escrito = static_cast<std::size_t>(fim - saida);
}

void Escreve_Texto(std::string_view texto) {
  if (texto.size() > sizeof saida) {
    Passa_Adiante();
    std::cout.rdbuf()->sputn(texto.data(), static_cast<std::streamsize>(texto.size()));
    return;
  }
  char *destino = Reserva_Saida(texto.size());
  std::memcpy(destino, texto.data(), texto.size());
  Confirma_Saida(destino + texto.size());
}

char *Formata_Inteiro(char *destino, int valor) {
  if (valor >= 0 && valor <= 9) { // almost every value traced is a single digit
    *destino = static_cast<char>('0' + valor);
    return destino + 1;
  }
  return std::to_chars(destino, destino + 11, valor).ptr; // "-2147483648" at most
}

void Escreve_Inteiro(int valor) {
  Confirma_Saida(Formata_Inteiro(Reserva_Saida(11), valor));
}

void Descarrega_Saida() {
  Passa_Adiante();
  std::cout.flush();
}

// ---- Input ---------------------------------------------------------------------

namespace {

char entrada[1 << 14];
std::size_t lido = 0, recebido = 0; // entrada[lido, recebido) is still to be read

// Copies into destino as much of the input already waiting as fits, without waiting.
std::size_t Recebe_O_Que_Espera(std::streambuf *fonte, char *destino, std::size_t cabe) {
  const std::streamsize pronto = fonte->in_avail();
  if (pronto <= 0) {
    return 0;
  }
  const auto quanto = std::min(pronto, static_cast<std::streamsize>(cabe));
  return static_cast<std::size_t>(fonte->sgetn(destino, quanto));
}

// Takes whatever input is already waiting, in one block; only when none is waiting
// does it flush the output and wait for one byte. False at the end of input.
bool Ha_Entrada() {
  if (lido < recebido) {
    return true;
  }
  std::streambuf *fonte = std::cin.rdbuf();
  lido = 0;
  recebido = Recebe_O_Que_Espera(fonte, entrada, sizeof entrada);
  if (recebido > 0) {
    return true;
  }
  Descarrega_Saida();
  const int primeiro = fonte->sbumpc();
  if (std::char_traits<char>::eq_int_type(primeiro, std::char_traits<char>::eof())) {
    return false;
  }
  entrada[0] = std::char_traits<char>::to_char_type(primeiro);
  recebido = 1 + Recebe_O_Que_Espera(fonte, entrada + 1, sizeof entrada - 1);
  return true;
}

int Espia_Caractere() {
  return Ha_Entrada() ? static_cast<unsigned char>(entrada[lido]) : FIM_DA_ENTRADA;
}

} // namespace

int Le_Caractere() {
  return Ha_Entrada() ? static_cast<unsigned char>(entrada[lido++]) : FIM_DA_ENTRADA;
}

bool Le_Linha(char *texto, std::size_t capacidade, std::size_t *tamanho) {
  if (!Ha_Entrada()) {
    return false;
  }
  std::size_t comprimento = 0; // of the whole line, which may be far longer than kept
  char ultimo = '\0';
  bool quebra = false;
  do {
    const char *inicio = entrada + lido;
    const std::size_t resto = recebido - lido;
    const auto *fim = static_cast<const char *>(std::memchr(inicio, '\n', resto));
    const std::size_t trecho =
        fim != nullptr ? static_cast<std::size_t>(fim - inicio) : resto;
    if (comprimento < capacidade) {
      std::memcpy(texto + comprimento, inicio,
                  std::min(trecho, capacidade - comprimento));
    }
    comprimento += trecho;
    ultimo = trecho > 0 ? inicio[trecho - 1] : ultimo;
    quebra = fim != nullptr;
    lido += trecho + quebra;
  } while (!quebra && Ha_Entrada());
  if (quebra && ultimo == '\r') {
    --comprimento; // "\r\n" is one line end, as a text-mode console delivers it
  }
  *tamanho = std::min(comprimento, capacidade);
  return true;
}

void Descarta_Entrada() {
  lido = recebido = 0;
}

void Descarta_Fim_De_Linha() {
  if (Le_Caractere() == '\r' && Espia_Caractere() == '\n') {
    Le_Caractere();
  }
}
