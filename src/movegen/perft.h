// Move-path counting.
#pragma once
#include <cstdint>

#include "board/position.h"

struct PerftCount {
  uint64_t paths;  // legal move paths of every length from 1 to the depth
  uint64_t made;   // moves made on the way, illegal ones included
};

// The legal move paths of every length from 1 to the depth from the position (which is left as it
// was): the nodes of the tree of legal moves, its root left out.
PerftCount perft(Position& pos, int depth);

// The "perft" command: one line per depth, the total and the moves-made counter.
void runPerft(Position& pos, int depth);
