// Whether the search starts another iteration, on the optimum and maximum of the move
// (engine/time_manager.h). The search aims at a target: the optimum, stretched while the search is
// unsettled and shrunk while it is settled. A best move that has just changed, or a score that
// falls, gets more time; a best move that has survived several deeper iterations gets less. The
// search stops between iterations when stopping now ends nearer the target than finishing the next
// iteration would, so that on average a move takes about its target. No iteration starts that
// cannot be expected to finish before the maximum.
#pragma once
#include <cstdint>

// An iteration is expected to take this many times as long as the one before it (the median ratio
// of the node counts of successive iterations on the positions of bench_search is about 2.4, though
// single ratios range from below 1 to 11).
inline constexpr double NEXT_ITERATION_GROWTH = 2.5;

// The scores compared for scoreDrop lie this many finished iterations apart.
inline constexpr int SCORE_DROP_SPAN = 4;

// The iteration just finished, as the iterative deepening loop sees it. Times in milliseconds.
struct IterationProgress {
  // From the moment the move's time started (the origin of its TimeLimits) to the end of the
  // iteration.
  int64_t elapsed;
  // What the iteration took, from its start to its end, aspiration re-searches included.
  int64_t lastIterationTime;
  // Its depth.
  int depth;
  // How many iterations in a row, counted back from this one, ended with the same best move as
  // the iteration before them: 0 when this iteration changed the best move, and for the first
  // iteration of the search. Best moves of depths 2 to 7 of e2e4 e2e4 d2d4 d2d4 d2d4 d2d4 give 3.
  int stableIterations;
  // How far the score fell, in centipawns from the side to move's point of view: the score of the
  // finished iteration SCORE_DROP_SPAN before this one (the first iteration while there are fewer)
  // less this iteration's score. Positive when the score fell, negative when it rose.
  int scoreDrop;
};

// True when the search should play its move now rather than start the next iteration.
bool StopBetweenIterations(const IterationProgress& progress, int64_t optimum, int64_t maximum);
