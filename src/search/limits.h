// What bounds one search: its depth, its nodes and its time. The caller sets them before the search
// starts; a ponder hit may change the time while it runs (from another thread), so the times are
// atomic.
#pragma once
#include <atomic>
#include <cstdint>

#include "board/types.h"

// The most moves a search may be restricted to at its root.
inline constexpr int MAX_SEARCH_MOVES = 256;
// The most lines a search reports at once.
inline constexpr int MAX_MULTI_PV = 16;

struct SearchLimits {
  int maxDepth;       // the deepest iteration
  uint64_t nodeLimit; // the search stops once it has made this many moves; 0: no such limit
  bool infinite;      // no time limit: only the depth, the nodes or a stop end it
  int multiPv;        // lines searched and reported, best first
  int searchMoveCount;  // 0: every root move; else only these
  Move searchMoves[MAX_SEARCH_MOVES];
};

// The clock of one search, in milliseconds of the steady clock. While pondering the time is never
// up; a ponder hit starts the move's own clock.
struct SearchClock {
  std::atomic<int64_t> startTime{0};  // when the search began (the work counted for the optimum)
  std::atomic<int64_t> moveStart{0};  // when the front end started charging the move
  std::atomic<int64_t> optimum{0};    // ms after startTime: no iteration starts past it (scaled)
  std::atomic<int64_t> maximum{0};    // ms after moveStart: the search stops wherever it is
  std::atomic<bool> timed{false};     // false: the time never runs out
  std::atomic<bool> pondering{false};
};
