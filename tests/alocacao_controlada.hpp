// Test control over the program's heap: makes node allocations fail on demand and
// counts the nodes and bytes that are live.
#pragma once

#include <cstddef>

// Puts the stacks' allocator of these tests in place of the heap's.
void Instala_Alocacao_Controlada();

// From now on the k-th node allocation fails (k = 1 is the next one); with
// todas_depois, so does every one after it.
void Falha_Nodo(long k, bool todas_depois);
void Desarma_Falhas();

// True once an armed failure has been handed out.
bool Falha_Ocorreu();

// Nodes taken from the stacks' allocator and not yet given back.
long Nodos_Vivos();

// Every byte ever handed out by operator new, nodes or not.
std::size_t Bytes_Alocados();
