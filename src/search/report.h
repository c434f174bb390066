// What the search tells its caller: its result, and the lines of progress it reports while it runs.
#pragma once
#include <cstdint>
#include <functional>

#include "board/types.h"
#include "search/pv.h"
#include "search/transtable.h"

// What the last finished iteration (or the part of an interrupted one that counts) chose: the move
// to play and the reply it expects.
struct SearchResult {
  Move move;    // 0 until an iteration finished; a marker when the root has no legal move
  Move ponder;  // second move of the principal variation, 0 when there is none
  int score;
  int depth;    // 0 for a move no iteration finished: the score is then the table's or the evaluation
  int bound = BOUND_EXACT;
};

// A line of the search's progress: each finished iteration (one per line searched), a bound found
// by an aspiration search on its way, and the closing line with the result to be played.
enum class ReportKind { ITERATION, BOUND, CLOSING };
struct IterationReport {
  ReportKind kind;
  int depth;
  int selectiveDepth;  // the deepest ply reached
  int score;
  int bound;           // BOUND_EXACT, BOUND_LOWER (failed high) or BOUND_UPPER (failed low)
  int line;            // 1 for the best line, 2 for the second best...
  int64_t milliseconds;  // since the search started
  uint64_t nodes;      // of every thread
  int hashfull;        // per mille of the table used at the current age
  PrincipalVariation pv;
};

struct SearchHooks {
  std::function<void(const IterationReport&)> report;
};
