// One request to search: what the front end says of the clock and the limits.
#pragma once
#include <cstdint>
#include <vector>

#include "board/types.h"

struct SearchRequest {
  int64_t time[2] = {-1, -1};     // each colour's clock (ms) by colour; -1: not given
  int64_t increment[2] = {0, 0};  // ms added after each move
  int movesToGo = 0;              // moves to the next control, this one included; 0: none
  int64_t moveTime = 0;           // a fixed time for this move (ms); 0: none
  int depth = 0;                  // deepest iteration; 0: no limit
  uint64_t nodes = 0;             // moves to make at the most; 0: no limit
  int mate = 0;                   // look for a mate in this many moves; 0: no
  bool infinite = false;          // until stopped
  bool ponder = false;            // on the opponent's time: the clock starts at the ponder hit
  Move ponderMove = 0;            // made on the game position first (0: the position has it)
  bool useBook = false;           // a book move is played without a search when there is one
  std::vector<Move> searchMoves;  // only these root moves; empty: all
};
