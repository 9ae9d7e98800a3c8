// The console dialogue and the two-stack evaluation of one expression line.
#include "analisar_exp_encad.hpp"

#include <string_view>

#include "console.hpp"
#include "expressao.hpp"
#include "pilha.hpp"

// ---- Output --------------------------------------------------------------------

std::string_view Mensagem_De_Erro(int status) {
  switch (status) {
  case PILHA_CHEIA:
    return "\nERRO: Pilha Cheia\n";
  case PILHA_VAZIA:
    return "\nERRO: Pilha Vazia\n";
  case DIVISAO_POR_ZERO:
    return "\nERRO: Divisao por 0\n";
  default:
    return {};
  }
}

void Imprime_Erro(int status) {
  const std::string_view mensagem = Mensagem_De_Erro(status);
  if (!mensagem.empty()) { // an empty view has no bytes to copy from
    Escreve_Texto(mensagem);
  }
}

// ---- Evaluation ----------------------------------------------------------------

namespace {

// One evaluation as it goes, on the frame of Avalia_Expressao: its line, the
// character being read and the two stacks. Every step is reported from it.
struct TAVALIACAO {
  const char *expressao;
  std::size_t tamanho;
  std::size_t lendo; // `tamanho` once the whole line is scanned
  TPILHA operandos;  // stack 1
  TPILHA operadores; // stack 2
};

TOBSERVADOR observador = nullptr; // when a tool has bound one

// The one place that asks whether an observer is bound. `linha` is where the step
// was made: each function below takes the line it is called from.
void Relata(const TAVALIACAO *av, int acao, int pilha, int valor, int status, int linha) {
  if (observador != nullptr) {
    const TPASSO passo = {acao, pilha, valor, status, Mensagem_De_Erro(status), linha,
                          // where the evaluation stands
                          av->expressao, av->tamanho, av->lendo, &av->operandos,
                          &av->operadores};
    observador(&passo);
  }
}

// Every step of the evaluation goes through these: a call of the stack's functions,
// then its report.
void Cria_Pilhas(TAVALIACAO *av, int linha = __builtin_LINE()) {
  Cria_Pilha(&av->operandos);
  Cria_Pilha(&av->operadores);
  Relata(av, COMECOU, 0, 0, SUCESSO, linha);
}

int Empilha(TAVALIACAO *av, TPILHA *pilha, int numero, int valor,
            int linha = __builtin_LINE()) {
  const int status = Push(pilha, valor);
  Relata(av, EMPILHOU, numero, valor, status, linha);
  return status;
}

int Empilha_E_Exibe(TAVALIACAO *av, TPILHA *pilha, int numero, int valor,
                    int linha = __builtin_LINE()) {
  const int status = Push(pilha, valor);
  exibe_pilha(numero, *pilha); // traced even when the push failed
  Relata(av, EMPILHOU, numero, valor, status, linha);
  return status;
}

int Desempilha(TAVALIACAO *av, TPILHA *pilha, int numero, int *valor,
               int linha = __builtin_LINE()) {
  const int status = Pop(pilha, valor);
  Relata(av, DESEMPILHOU, numero, status == SUCESSO ? *valor : 0, status, linha);
  return status;
}

void Libera(TAVALIACAO *av, TPILHA *pilha, int numero, int status,
            int linha = __builtin_LINE()) {
  destroi_pilha(pilha);
  Relata(av, LIBEROU, numero, 0, status, linha);
}

// A closing parenthesis applies the latest operator to the two latest operands,
// the deeper one on the left.
int Aplica_Operador(TAVALIACAO *av) {
  int direito = 0, esquerdo = 0, operador = 0;
  if (Desempilha(av, &av->operandos, 1, &direito) != SUCESSO ||
      Desempilha(av, &av->operandos, 1, &esquerdo) != SUCESSO ||
      Desempilha(av, &av->operadores, 2, &operador) != SUCESSO) {
    return PILHA_VAZIA;
  }
  if (operador == '/' && direito == 0) {
    return DIVISAO_POR_ZERO;
  }
  const int resultado = Calcula(esquerdo, direito, static_cast<char>(operador));
  return Empilha(av, &av->operandos, 1, resultado);
}

int Trata_Caractere(TAVALIACAO *av, char caractere) {
  int digito = 0, operador = 0;
  switch (Codifica(caractere, &digito, &operador)) {
  case DIGITO:
    return Empilha_E_Exibe(av, &av->operandos, 1, digito);
  case OPERADOR:
    return Empilha_E_Exibe(av, &av->operadores, 2, operador);
  case FECHA_PARENTESE:
    return Aplica_Operador(av);
  default:
    return SUCESSO; // '(' and brackets only matter to the balance rule
  }
}

// A refused line has no stacks: the observer is shown it with two empty ones.
void Relata_Recusa(const char *expressao, std::size_t tamanho, int motivo,
                   int linha = __builtin_LINE()) {
  const TAVALIACAO recusada = {expressao, tamanho, 0, {nullptr}, {nullptr}};
  Relata(&recusada, RECUSOU, 0, motivo, SUCESSO, linha);
}

} // namespace

void Observa_Avaliacao(TOBSERVADOR novo) {
  observador = novo;
}

int Avalia_Expressao(const char *expressao, std::size_t tamanho, int *resposta) {
  TAVALIACAO av = {expressao, tamanho, 0, {}, {}};
  Cria_Pilhas(&av);
  int status = SUCESSO;
  for (; av.lendo < tamanho; ++av.lendo) {
    status = Trata_Caractere(&av, expressao[av.lendo]);
    if (status != SUCESSO) {
      break; // at the character that failed
    }
  }
  if (status == SUCESSO) {
    status = Desempilha(&av, &av.operandos, 1, resposta); // the rest is discarded
  }
  Libera(&av, &av.operandos, 1, status);
  Libera(&av, &av.operadores, 2, status);
  return status;
}

void Responde_Expressao(const char *linha, std::size_t tamanho) {
  if (tamanho > MAX_EXPRESSAO) {
    Escreve_Texto("ERRO: Expressao muito Longa");
    Relata_Recusa(linha, tamanho, LONGA_DEMAIS);
    return;
  }
  if (!Testa_Expressao(linha, tamanho)) {
    Escreve_Texto("Erro: Expressao Invalida");
    Relata_Recusa(linha, tamanho, FORA_DA_REGRA);
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

// ---- Dialogue ------------------------------------------------------------------

namespace {

bool E_Resposta(int caractere) {
  return caractere == 'S' || caractere == 's' || caractere == 'N' || caractere == 'n';
}

// Drops every character but "SsNn" without a word, then the one character after the
// answer, normally its line end. Returns the answer, or FIM_DA_ENTRADA. The prompt
// is never repeated.
int Le_Resposta() {
  Escreve_Caractere('\n');
  int caractere = Le_Caractere("Continua [S/N]? ");
  while (caractere != FIM_DA_ENTRADA && !E_Resposta(caractere)) {
    caractere = Le_Caractere();
  }
  if (caractere != FIM_DA_ENTRADA) {
    Descarta_Fim_De_Linha();
  }
  return caractere;
}

int Encerra(std::string_view despedida) {
  Escreve_Texto(despedida);
  Descarrega_Saida();
  return Falha_Do_Console().erro == 0 ? 0 : 1;
}

} // namespace

int Executa_Dialogo() {
  // One byte more than MAX_EXPRESSAO is kept: enough to tell that a line is too long.
  char linha[MAX_EXPRESSAO + 1];
  std::size_t tamanho = 0;
  for (;;) {
    Limpa_Tela();
    Escreve_Texto("Analisador de Expressoes\n\n");
    // Expressions, and nothing else, can be recalled.
    if (!Le_Linha("Expressao: ", true, linha, sizeof linha, &tamanho)) {
      return Encerra("\n");
    }
    Responde_Expressao(linha, tamanho);
    const int resposta = Le_Resposta();
    if (resposta == FIM_DA_ENTRADA) {
      return Encerra("\n");
    }
    if (resposta == 'N' || resposta == 'n') {
      return Encerra("");
    }
  }
}
