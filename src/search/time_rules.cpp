#include "search/time_rules.h"

#include <algorithm>

namespace {

// Shallower iterations are cheap and their best moves unreliable: the optimum alone does not stop
// them (the maximum does).
constexpr int OPTIMUM_FROM_DEPTH = 4;

// The optimum is stretched this much when the best move has just changed, and the stretch shrinks
// by STABLE_STEP for every iteration the best move survives, down to STABLE_FLOOR.
constexpr double UNSETTLED_FACTOR = 1.5;
constexpr double STABLE_STEP = 0.15;
constexpr double STABLE_FLOOR = 0.75;
// A fall of the score stretches it further, by up to FALL_BONUS for a fall of FULL_FALL
// centipawns or more; a rising score changes nothing.
constexpr double FALL_BONUS = 0.5;
constexpr int FULL_FALL = 50;

double stabilityFactor(int stableIterations) {
  return std::max(UNSETTLED_FACTOR - STABLE_STEP * std::max(stableIterations, 0), STABLE_FLOOR);
}

double fallFactor(int scoreDrop) { return 1 + FALL_BONUS * std::clamp(scoreDrop, 0, FULL_FALL) / FULL_FALL; }

}  // namespace

bool StopBetweenIterations(const IterationProgress& p, int64_t optimum, int64_t maximum) {
  const double elapsed = double(p.elapsed);
  const double expectedEnd = elapsed + NEXT_ITERATION_GROWTH * double(std::max<int64_t>(p.lastIterationTime, 0));
  if (expectedEnd >= double(maximum)) return true;
  if (p.depth < OPTIMUM_FROM_DEPTH) return false;
  // The move's time ends nearer its target when the search stops now than when it stops after the
  // next iteration.
  const double target = double(optimum) * stabilityFactor(p.stableIterations) * fallFactor(p.scoreDrop);
  return elapsed + expectedEnd >= 2 * target;
}
