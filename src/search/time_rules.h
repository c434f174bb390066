// The rule applied between iterations: whether the time allows another one.
#pragma once
#include <cstdint>

struct IterationProgress {
  int64_t elapsed;            // ms since the search started
  int64_t lastIterationTime;  // ms the iteration just finished took
  int depth;                  // of the iteration just finished
  int stableIterations;       // iterations in a row whose best move was the one before's
  int scoreDrop;              // the score before the last iteration less its score
};

bool StopBetweenIterations(const IterationProgress& progress, int64_t optimum, int64_t maximum);
