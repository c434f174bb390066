// Global state of the one search.
#pragma once
#include <cstdint>

#include "search/limits.h"
#include "search/report.h"

struct SearchState {
  uint32_t nodeCount;    // moves made by the search
  uint32_t nextPollAt;   // nodeCount at which the next poll runs
  uint8_t stopSearch;    // every search level returns as soon as it sees it
  uint32_t iterationDepth;
  int32_t checkCount[2];       // nodes on the current line at which each colour was in check
  int32_t aspirationResearch;  // -1 after a fail-low, +1 after a fail-high, else 0
  uint8_t useBitbases;
  uint8_t allRootMovesDrawn;
  bool callerWaiting;  // the input hook holds a command for the caller: no restart, no more input
  uint64_t movesMade;  // every move the search makes, quiescence included (for benchmarks)
  SearchLimits limits;
  SearchHooks hooks;
  SearchResult result;
};

extern SearchState search;
