// The console dialogue and the two-stack evaluation of one expression line.
#pragma once

#include <cstddef>
#include <string_view>

#include "pilha.hpp"
#include "status.hpp"

// Longest line that is evaluated; longer ones are refused whole.
constexpr std::size_t MAX_EXPRESSAO = 50;

// The message of status 1, 2 or 3, as it is printed; empty for any other value.
std::string_view Mensagem_De_Erro(int status);

// Prints the message of status 1, 2 or 3; nothing for any other value.
void Imprime_Erro(int status);

// Scans the text once, tracing every push, and releases both stacks on every path.
// Returns the first status other than SUCESSO, or SUCESSO with the answer written.
int Avalia_Expressao(const char *expressao, std::size_t tamanho, int *resposta);

// Prints the outcome of one line: refused as too long or unbalanced, or evaluated
// with its trace lines and then the answer or the failure message.
void Responde_Expressao(const char *linha, std::size_t tamanho);

// ---- Watching the evaluation ----

// What an evaluation has just done, for a tool that shows it step by step. Each step
// but a refusal is the work of one function of the stack: Cria_Pilha, Push, Pop,
// destroi_pilha.
constexpr int COMECOU = 0;     // both stacks created, empty
constexpr int EMPILHOU = 1;    // `valor` pushed onto stack `pilha`; `status` says whether
constexpr int DESEMPILHOU = 2; // `valor` popped from stack `pilha`; `status` says whether
constexpr int LIBEROU = 3;     // stack `pilha` destroyed; `status` is the evaluation's
constexpr int RECUSOU = 4;     // the line refused unevaluated; `valor` says why:
constexpr int LONGA_DEMAIS = 1;  // more than MAX_EXPRESSAO characters
constexpr int FORA_DA_REGRA = 2; // unbalanced, by the rule of Testa_Expressao

// One step, as the observer is shown it; it lives only for the call.
struct TPASSO {
  int acao;
  int pilha;  // 1, the operands, or 2, the operators; 0 when the step is both's
  int valor;  // 0 where the step has none: a pop that failed read nothing
  int status; // SUCESSO, or the failure the step met or ends with
  std::string_view mensagem; // what the dialogue prints for that failure; empty if none
  int linha;               // the line of analisar_exp_encad.cpp whose call made the step
  const char *expressao;   // the line being evaluated
  std::size_t tamanho;     // its length
  std::size_t lendo;       // the character being read; `tamanho` after a whole scan
  const TPILHA *operandos; // both stacks as the step leaves them
  const TPILHA *operadores;
};

// Called after every step when bound; when not, the evaluation pays one test per
// step and nothing else. Null unbinds it.
using TOBSERVADOR = void (*)(const TPASSO *passo);
void Observa_Avaliacao(TOBSERVADOR observador);

// ---- The dialogue ----

// Runs the dialogue on the console until the user answers 'N' or 'n' or input ends,
// and returns the exit code: 0, or 1 when reading or writing failed.
int Executa_Dialogo();
