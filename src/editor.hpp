// Line editing and history of the expressions at a terminal, where the build has it.
#pragma once

#include "console.hpp"

// The editor for the console, or null when the build has none. Only for a terminal
// on both ends: it reads the terminal and draws on it.
TEDITOR Editor_De_Linha();

// Gives the terminal back as it was found; nothing when no editor was made.
void Encerra_Editor();
