// Global state of the one search.
#pragma once
#include <cstdint>

#include "board/types.h"

// What the last finished iteration chose: the move to play and the reply it expects.
struct SearchResult {
  Move move;    // 0 until an iteration finished; a marker when the root has no legal move
  Move ponder;  // second move of the principal variation, 0 when there is none
  int score;
  int depth;
};

struct SearchState {
  uint32_t nodeCount;    // moves made by the search or by perft
  uint32_t nextPollAt;   // nodeCount at which the next poll runs
  uint8_t stopSearch;    // every search level returns as soon as it sees it
  uint32_t iterationDepth;
  uint32_t maxSearchDepth;
  int32_t checkCount[2];       // nodes on the current line at which each colour was in check
  int32_t aspirationResearch;  // -1 after a fail-low, +1 after a fail-high, else 0
  uint8_t useBitbases;
  uint8_t allRootMovesDrawn;
  uint64_t movesMade;  // every move the search makes, quiescence included (for benchmarks)
  SearchResult result;
};

extern SearchState search;
