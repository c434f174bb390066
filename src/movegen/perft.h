// Move-path counting with the search's own machinery.
#pragma once
#include <cstdint>

// Moves made by perft since the "perft" command started, illegal ones included.
extern uint32_t perftMovesMade;

// The number of legal move paths of the given depth from the current position.
uint64_t perft(int depth);

// The "perft" command: one line per depth, the total and the moves-made counter.
void runPerft(int depth);
