// Status codes of the whole program: what a push, a pop or an evaluation reports.
#pragma once

constexpr int SUCESSO = 0;
constexpr int PILHA_CHEIA = 1;      // a push found no memory for a node
constexpr int PILHA_VAZIA = 2;      // a pop found its stack empty
constexpr int DIVISAO_POR_ZERO = 3; // a '/' met a right operand of 0
