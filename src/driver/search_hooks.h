// The xboard front end's side of a running search: thinking lines, and the input read while it
// runs (the predicted move, a new clock, commands answered at once, commands that stop it or
// wait for the command loop).
#pragma once
#include "search/report.h"

// Makes these the search's hooks.
void InstallSearchHooks();

// Reads one token during a search and acts on it: a ponder hit turns pondering into thinking,
// "time" recomputes the budget, commands that leave the game alone are answered at once (a ping
// while the engine thinks on its move once the move is out), an unknown word is answered with an
// error,
// a move, "force", "quit" or (while thinking) "?" stops the search, and any other command waits
// in the input token for the command loop (stopping a ponder search or an analysis, which have
// no time limit). The end of input counts as "quit".
InputVerdict HandleSearchInput();

// One thinking line, unless they are turned off: depth, score, centiseconds, nodes and the
// principal variation.
void PrintThinking(const IterationReport& report);
