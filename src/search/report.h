// What the search tells its caller: its result, and the hooks through which it reports while it
// runs. The caller supplies the hooks; a missing hook is skipped, so a search can run without
// touching standard input or output.
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

// A line of the search's progress: each finished iteration, the closing line, and the line
// announcing a restart with a fresh budget.
enum class ReportKind { ITERATION, CLOSING, FIXING };
struct IterationReport {
  ReportKind kind;
  int depth;
  int score;
  int centiseconds;  // since the search started
  uint32_t nodes;
  const char* pv;  // principal variation in coordinate notation
};

// What the caller's input hook found: nothing for the search, a command the caller will handle
// after the search (no more input is read, no restart is made), or a reason to stop now.
enum class InputVerdict { NONE, HOLD, STOP };

struct SearchHooks {
  void (*iteration)(const IterationReport& report);
  void (*bestMove)(const SearchResult& result);  // once, as the search ends
  InputVerdict (*input)();                       // at every poll while the search runs
};
