// The limits of one search, set by its caller, and the time checks made against them.
#pragma once
#include <cstdint>

// The caller fills these before the search starts. Its input hook may change them while the
// search runs: a new clock recomputes the budget, a ponder hit ends pondering.
struct SearchLimits {
  int startTime;      // process clock (ms) from which this move's time counts
  int budget;         // ms after startTime at which the time is up; widened by re-searches
  int ceiling;        // the budget is never widened beyond this
  int moveStart;      // process clock (ms) at which the front end started charging this move
  int hardLimit;      // ms after moveStart at which the search stops, even in its first iteration
  int extension;      // ms the aspiration re-searches added to budget, taken off when they end
  bool mayExtend;     // the time control lets a re-search widen the budget
  uint32_t maxDepth;  // the deepest iteration
  bool pondering;     // the time is never up
  bool infinite;      // no time limit at all: only the depth, the nodes or the caller end it
  uint32_t nodeLimit; // the search stops once it has made this many moves; 0: no such limit
};

// True when the budget counted from startTime is spent; never while pondering or without limit.
bool TimeUp();

// True when the hard limit counted from moveStart, or the node limit, is reached: the search stops
// at once, whatever iteration it is in. The time never runs out while pondering or without limit.
bool HardLimitReached();

// Milliseconds left before the hard limit; a large number while there is none.
int HardLimitLeft();

// A fresh budget for the current move (its widenings are dropped) and the most it may grow to.
void SetBudget(int budget, int ceiling);

// Widens the budget factor-fold for an aspiration re-search, never beyond the ceiling (nor a spent
// budget ever upward), and remembers the amount added.
void ExtendBudget(int factor);

// Takes off what ExtendBudget added. A budget set in between (a new clock during the re-search)
// carries only the widenings made after it.
void EndBudgetExtension();
