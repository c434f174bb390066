// The xboard front end's side of a running search: thinking lines, and the input read while it
// runs (the predicted move, a new clock, commands that stop it or wait for the command loop).
#pragma once
#include "search/report.h"

// Makes these the search's hooks.
void InstallSearchHooks();

// Reads one token during a search and acts on it: a ponder hit turns pondering into thinking,
// "time" recomputes the budget, a move or "?", "force" or "quit" stops the search, anything else
// waits in the input token for the command loop (and stops a ponder search, which has no time
// limit). The end of input counts as "quit".
InputVerdict HandleSearchInput();

// One thinking line: depth, score, centiseconds, nodes and the principal variation.
void PrintThinking(const IterationReport& report);
