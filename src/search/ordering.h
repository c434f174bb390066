// Move-ordering memory: the from-to history and the per-piece cut-off counters.
#pragma once
#include <cstdint>

struct HistoryTables {
  int32_t fromTo[2][4096];  // HistoryFromTo[side][move & 0xFFF]
  uint64_t good[12][64];    // HistoryGood[piece - 1][to]
  uint64_t tried[12][64];   // HistoryTried[piece - 1][to]
};

extern HistoryTables history;

// From-to history to 0, both counters to 1: done by every setup and every game move.
void ResetHistoryTables();
