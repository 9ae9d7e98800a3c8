// The console dialogue and the two-stack evaluation of one expression line.
#include "analisar_exp_encad.hpp"

#include <cstdlib>
#include <iostream>
#include <string_view>

#include "expressao.hpp"
#include "saida.hpp"

// ---- Output --------------------------------------------------------------------

namespace {

void Limpa_Tela(bool saida_e_console) {
#ifdef _WIN32
  (void)saida_e_console;
  Descarrega_Saida();
  (void)std::system("cls");
#else
  // Home the cursor and erase the screen: the same effect as "cls", without
  // starting a process; a pipe or a file gets nothing.
  if (saida_e_console) {
    Escreve_Texto("\x1b[H\x1b[2J");
  }
#endif
}

} // namespace

void Imprime_Erro(int status) {
  switch (status) {
  case PILHA_CHEIA:
    Escreve_Texto("\nERRO: Pilha Cheia\n");
    break;
  case PILHA_VAZIA:
    Escreve_Texto("\nERRO: Pilha Vazia\n");
    break;
  case DIVISAO_POR_ZERO:
    Escreve_Texto("\nERRO: Divisao por 0\n");
    break;
  default:
    break;
  }
}

// ---- Evaluation ----------------------------------------------------------------

namespace {

int Empilha_E_Exibe(TPILHA *pilha, int numero, int valor) {
  const int status = Push(pilha, valor);
  exibe_pilha(numero, *pilha); // traced even when the push failed
  return status;
}

// A closing parenthesis applies the latest operator to the two latest operands,
// the deeper one on the left.
int Aplica_Operador(TPILHA *operandos, TPILHA *operadores) {
  int direito = 0, esquerdo = 0, operador = 0;
  if (Pop(operandos, &direito) != SUCESSO || Pop(operandos, &esquerdo) != SUCESSO ||
      Pop(operadores, &operador) != SUCESSO) {
    return PILHA_VAZIA;
  }
  if (operador == '/' && direito == 0) {
    return DIVISAO_POR_ZERO;
  }
  return Push(operandos, Calcula(esquerdo, direito, static_cast<char>(operador)));
}

int Trata_Caractere(char caractere, TPILHA *operandos, TPILHA *operadores) {
  int digito = 0, operador = 0;
  switch (Codifica(caractere, &digito, &operador)) {
  case DIGITO:
    return Empilha_E_Exibe(operandos, 1, digito);
  case OPERADOR:
    return Empilha_E_Exibe(operadores, 2, operador);
  case FECHA_PARENTESE:
    return Aplica_Operador(operandos, operadores);
  default:
    return SUCESSO; // '(' and brackets only matter to the balance rule
  }
}

} // namespace

int Avalia_Expressao(const char *expressao, std::size_t tamanho, int *resposta) {
  TPILHA operandos, operadores;
  Cria_Pilha(&operandos);
  Cria_Pilha(&operadores);
  int status = SUCESSO;
  for (std::size_t i = 0; i < tamanho && status == SUCESSO; ++i) {
    status = Trata_Caractere(expressao[i], &operandos, &operadores);
  }
  if (status == SUCESSO) {
    status = Pop(&operandos, resposta); // values below the top are discarded
  }
  destroi_pilha(&operandos);
  destroi_pilha(&operadores);
  return status;
}

void Responde_Expressao(const char *linha, std::size_t tamanho) {
  if (tamanho > MAX_EXPRESSAO) {
    Escreve_Texto("ERRO: Expressao muito Longa");
    return;
  }
  if (!Testa_Expressao(linha, tamanho)) {
    Escreve_Texto("Erro: Expressao Invalida");
    return;
  }
  int resposta = 0;
  const int status = Avalia_Expressao(linha, tamanho, &resposta);
  if (status != SUCESSO) {
    Imprime_Erro(status);
    return;
  }
  Escreve_Texto("\nResposta: ");
  Escreve_Inteiro(resposta);
  Escreve_Texto(" \n");
}

// ---- Input ---------------------------------------------------------------------

namespace {

using Tracos = std::char_traits<char>;

// Output is held back only while input is already waiting: a person sees every
// prompt before the program blocks, and a filter is not slowed by a flush per cycle.
std::streambuf *Entrada_Pronta() {
  std::streambuf *entrada = std::cin.rdbuf();
  if (entrada->in_avail() <= 0) {
    Descarrega_Saida();
  }
  return entrada;
}

int Le_Caractere() {
  return Entrada_Pronta()->sbumpc();
}

// "\r\n" is one line end, as a text-mode console delivers it; a lone '\r' is not.
bool Fim_De_Linha(int caractere) {
  if (caractere == '\n') {
    return true;
  }
  if (caractere == '\r' && Entrada_Pronta()->sgetc() == '\n') {
    Le_Caractere();
    return true;
  }
  return false;
}

// One byte more than MAX_EXPRESSAO is kept, enough to tell a line too long; the
// rest of such a line is read and dropped, so memory does not grow with it.
struct TLINHA {
  char texto[MAX_EXPRESSAO + 1];
  std::size_t tamanho;
};

// False when input has ended before the line began. A last line without its line
// end is still a line.
bool Le_Linha(TLINHA *linha) {
  linha->tamanho = 0;
  int caractere = Le_Caractere();
  if (Tracos::eq_int_type(caractere, Tracos::eof())) {
    return false;
  }
  while (!Tracos::eq_int_type(caractere, Tracos::eof()) && !Fim_De_Linha(caractere)) {
    if (linha->tamanho < sizeof linha->texto) {
      linha->texto[linha->tamanho++] = Tracos::to_char_type(caractere);
    }
    caractere = Le_Caractere();
  }
  return true;
}

// Drops every character but "SsNn" without a word, then the one character after the
// answer (normally its line end). Returns the answer, or eof when input ends first.
int Le_Resposta() {
  int caractere = Le_Caractere();
  while (!Tracos::eq_int_type(caractere, Tracos::eof()) &&
         std::string_view("SsNn").find(Tracos::to_char_type(caractere)) ==
             std::string_view::npos) {
    caractere = Le_Caractere();
  }
  if (!Tracos::eq_int_type(caractere, Tracos::eof())) {
    Fim_De_Linha(Le_Caractere());
  }
  return caractere;
}

} // namespace

// ---- Dialogue ------------------------------------------------------------------

namespace {

int Encerra(std::string_view despedida) {
  Escreve_Texto(despedida);
  Descarrega_Saida();
  return 0;
}

} // namespace

int Executa_Dialogo(bool saida_e_console) {
  TLINHA linha;
  for (;;) {
    Limpa_Tela(saida_e_console);
    Escreve_Texto("Analisador de Expressoes\n");
    Escreve_Texto("\nExpressao: ");
    if (!Le_Linha(&linha)) {
      return Encerra("\n");
    }
    Responde_Expressao(linha.texto, linha.tamanho);
    Escreve_Texto("\nContinua [S/N]? ");
    const int resposta = Le_Resposta();
    if (Tracos::eq_int_type(resposta, Tracos::eof())) {
      return Encerra("\n");
    }
    if (resposta == 'N' || resposta == 'n') {
      return Encerra("");
    }
  }
}
