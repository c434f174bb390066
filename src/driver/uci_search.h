// A UCI front end's search: "go" and its limits, the info lines, the input read while it runs
// ("isready", "stop", "ponderhit") and the best move.
#pragma once
#include "driver/line_words.h"

// Makes the UCI search hooks the search's hooks.
void InstallUciSearchHooks();

// "go [wtime|btime|winc|binc|movestogo|movetime|depth|nodes N]... [infinite] [ponder]": a book
// move at once when the book has one (not for "infinite" or "ponder"), else a search within the
// limits; then "bestmove M [ponder P]". After "infinite" or "ponder" the best move waits for
// "stop" or "ponderhit". Values that cannot be read are reported and taken as 0: a quick move.
void GoCommand(LineWords& arguments);
