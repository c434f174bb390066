// Move-path counting with the search's own machinery.
#pragma once
#include <cstdint>

uint64_t perft(int depth);

// The "perft" command: one line per depth, the total and the moves-made counter.
void runPerft(int depth);
