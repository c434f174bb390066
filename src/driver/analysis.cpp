#include "driver/analysis.h"

#include <algorithm>
#include <cstdio>

#include "board/move.h"
#include "driver/engine_state.h"
#include "driver/legal_moves.h"
#include "driver/time_control.h"
#include "io/clock.h"
#include "io/log.h"
#include "movegen/ply.h"
#include "search/iterate.h"
#include "search/search_state.h"

namespace {

struct AnalysisState {
  int rootMoves;  // legal moves of the analysed position
};
AnalysisState analysis;

}  // namespace

void Analyze() {
  driver.analysisDue = false;
  Move moves[MAX_GENERATED_MOVES];
  analysis.rootMoves = GenerateLegalMoves(moves);
  SearchLimits& limits = search.limits;
  limits.maxDepth = MAX_SEARCH_DEPTH;
  limits.pondering = false;
  limits.infinite = true;
  limits.nodeLimit = UNTIMED_NODE_LIMIT;
  limits.startTime = processClock();
  search.stopSearch = 0;
  // A drawn position is not searched at all: nothing may then seem to be waiting, and no choice
  // of an earlier search may seem to be this position's.
  search.callerWaiting = false;
  search.result = {};
  logLine("-M: analysis");
  IterativeDeepening();
  if (search.callerWaiting) driver.analysisDue = true;
}

void analyzeCommand() {
  driver.engineState = ANALYZING;
  driver.analysisDue = true;
}

void exitCommand() {
  if (driver.engineState == ANALYZING) driver.engineState = FORCE_MODE;
}

void statusCommand() {
  if (driver.engineState != ANALYZING) return;
  // Root moves are searched in turn from the start of the move stack; the one being searched is
  // at the root's cursor.
  const PlyRecord* root = plies.records;
  int searched = root->listEnd && root->cursor >= moveStack ? int(root->cursor - moveStack) : 0;
  int left = std::max(analysis.rootMoves - searched - 1, 0);
  std::printf("stat01: %d %u %u %d %d\n", (processClock() - search.limits.startTime) / 10, search.nodeCount,
              search.iterationDepth, left, analysis.rootMoves);
}
