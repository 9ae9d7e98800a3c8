// The console dialogue and the two-stack evaluation of one expression line.
#include "analisar_exp_encad.hpp"

#include <string_view>

#include "console.hpp"
#include "expressao.hpp"
#include "pilha.hpp"
#include "sistema.hpp"

// ---- Output --------------------------------------------------------------------

namespace {

// A pipe or a file gets nothing: no process is started and no byte written for it.
void Limpa_Tela(bool saida_e_tela) {
  if (!saida_e_tela) {
    return;
  }
  // What came before must not land on the cleared screen. Mostly it is out already
  // and this writes nothing; not when the answer came from input read ahead.
  Descarrega_Saida();
  Escreve_Texto(Limpa_A_Tela());
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

// The observer, when a tool has bound one, and the evaluation in course as it sees it.
TOBSERVADOR observador = nullptr;
TPASSO passo;

void Relata(int acao, int pilha, int valor, int status) {
  if (observador != nullptr) {
    passo.acao = acao;
    passo.pilha = pilha;
    passo.valor = valor;
    passo.status = status;
    observador(&passo);
  }
}

// Every push and pop of the evaluation goes through these, each a step to observe.
int Empilha(TPILHA *pilha, int numero, int valor) {
  const int status = Push(pilha, valor);
  Relata(EMPILHOU, numero, valor, status);
  return status;
}

int Empilha_E_Exibe(TPILHA *pilha, int numero, int valor) {
  const int status = Push(pilha, valor);
  exibe_pilha(numero, *pilha); // traced even when the push failed
  Relata(EMPILHOU, numero, valor, status);
  return status;
}

int Desempilha(TPILHA *pilha, int numero, int *valor) {
  const int status = Pop(pilha, valor);
  Relata(DESEMPILHOU, numero, *valor, status);
  return status;
}

// A closing parenthesis applies the latest operator to the two latest operands,
// the deeper one on the left.
int Aplica_Operador(TPILHA *operandos, TPILHA *operadores) {
  int direito = 0, esquerdo = 0, operador = 0;
  if (Desempilha(operandos, 1, &direito) != SUCESSO ||
      Desempilha(operandos, 1, &esquerdo) != SUCESSO ||
      Desempilha(operadores, 2, &operador) != SUCESSO) {
    return PILHA_VAZIA;
  }
  if (operador == '/' && direito == 0) {
    return DIVISAO_POR_ZERO;
  }
  return Empilha(operandos, 1, Calcula(esquerdo, direito, static_cast<char>(operador)));
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

// The observer learns of the line and of its two stacks, new and empty.
void Relata_Comeco(const char *expressao, std::size_t tamanho, const TPILHA *operandos,
                   const TPILHA *operadores) {
  passo = {COMECOU, 0, 0, SUCESSO, expressao, tamanho, 0, operandos, operadores};
  Relata(COMECOU, 0, 0, SUCESSO);
}

// A refused line has no stacks: the observer is shown two empty ones.
void Relata_Recusa(const char *linha, std::size_t tamanho, int motivo) {
  const TPILHA vazia = {nullptr};
  passo = {RECUSOU, 0, motivo, SUCESSO, linha, tamanho, 0, &vazia, &vazia};
  Relata(RECUSOU, 0, motivo, SUCESSO);
}

void Libera(TPILHA *pilha, int numero, int status) {
  destroi_pilha(pilha);
  Relata(LIBEROU, numero, 0, status);
}

} // namespace

void Observa_Avaliacao(TOBSERVADOR novo) {
  observador = novo;
}

int Avalia_Expressao(const char *expressao, std::size_t tamanho, int *resposta) {
  TPILHA operandos, operadores;
  Cria_Pilha(&operandos);
  Cria_Pilha(&operadores);
  Relata_Comeco(expressao, tamanho, &operandos, &operadores);
  int status = SUCESSO;
  for (std::size_t i = 0; i < tamanho && status == SUCESSO; ++i) {
    passo.lendo = i; // for the observer
    status = Trata_Caractere(expressao[i], &operandos, &operadores);
  }
  if (status == SUCESSO) {
    passo.lendo = tamanho;
    status = Desempilha(&operandos, 1, resposta); // values below the top are discarded
  }
  Libera(&operandos, 1, status);
  Libera(&operadores, 2, status);
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
  int caractere = Le_Caractere("\nContinua [S/N]? ");
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

int Executa_Dialogo(bool saida_e_tela) {
  // One byte more than MAX_EXPRESSAO is kept: enough to tell that a line is too long.
  char linha[MAX_EXPRESSAO + 1];
  std::size_t tamanho = 0;
  for (;;) {
    Limpa_Tela(saida_e_tela);
    Escreve_Texto("Analisador de Expressoes\n");
    if (!Le_Linha("\nExpressao: ", linha, sizeof linha, &tamanho)) {
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
