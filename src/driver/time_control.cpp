#include "driver/time_control.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "board/position.h"
#include "driver/engine_state.h"
#include "io/clock.h"
#include "io/input.h"
#include "io/log.h"
#include "search/limits.h"
#include "search/search_state.h"

TimeControl timeControl = {35, 0, 0, 0, DEFAULT_OVERHEAD, -1, 0, false, 0, 0, false};

namespace {

// Moves the clock is shared out over when the whole game is one control.
constexpr int MOVES_LEFT_IN_GAME = 33;
// Past the horizon the clock is still kept for this many moves.
constexpr int MIN_LATER_MOVES = 20;
// The least the engine is given for a move: time for a search of two plies.
constexpr int MIN_SEARCH_TIME = 2;
// Left on the clock after the hard limit on top of everything counted.
constexpr int SAFETY_MARGIN = 25;
// An overhead sample beyond this is no overhead but a clock the front end set anew.
constexpr int MAX_OVERHEAD = 2000;
// The resolution of the process clock (ms).
constexpr int CLOCK_TICK = 1;
// The own clock that stands for "no limit" (centiseconds).
constexpr int UNLIMITED_CLOCK = 999999999;

int clampBudget(int64_t ms) { return int(std::clamp<int64_t>(ms, -MAX_TIME_BUDGET, MAX_TIME_BUDGET)); }

// The clock of this time line against the one the last move started with: what the front end
// charged beyond the engine's own time is the overhead. A larger sample is taken at once, a
// smaller one lowers the estimate by a sixteenth at most: xboard's clocks come in centiseconds, so
// samples scatter by ten milliseconds, and the estimate must stay near their top. The engine's
// own time is read off a millisecond clock and may come out a tick long: the sample allows for
// it, or exact clocks (UCI's) would keep the estimate a millisecond short for every later move.
void takeOverheadSample(int64_t clock) {
  TimeControl& tc = timeControl;
  if (!tc.sampleReady) return;
  tc.sampleReady = false;
  if (tc.sampleRefilled) return;
  int64_t charged = tc.sampleClock - clock + tc.timeIncrement;
  int64_t sample = charged - tc.sampleElapsed + CLOCK_TICK;
  if (sample < -MIN_OVERHEAD || sample > MAX_OVERHEAD) return;  // the clock was set, not run
  int decayed = tc.overhead - tc.overhead / 16;
  tc.overhead = std::max({int(sample), decayed, MIN_OVERHEAD});
}

// A fixed time per move is never run over: the overhead comes off it.
void applyFixedBudget() {
  TimeControl& tc = timeControl;
  int hard = std::max(tc.fixedMoveTime - tc.overhead - SAFETY_MARGIN, MIN_SEARCH_TIME);
  tc.movesToGo = 1;
  SetBudget(hard, hard);
  search.limits.hardLimit = hard;
  search.limits.mayExtend = false;
}

// The own clock (ms), the moves already played towards the control, and the measured overhead.
void budgetFromClock(int64_t clock, int movesPlayed) {
  TimeControl& tc = timeControl;
  takeOverheadSample(clock);
  tc.lastClock = clampBudget(clock);
  if (tc.fixedMoveTime > 0) return applyFixedBudget();
  MoveTime mt = AllocateMoveTime({clock, tc.timeIncrement, tc.movesPerTimeControl, movesPlayed, tc.overhead});
  tc.movesToGo = mt.movesToGo;
  SetBudget(mt.budget, std::max(mt.hardLimit, mt.budget));
  search.limits.hardLimit = mt.hardLimit;
  search.limits.mayExtend = mt.mayExtend;
}

}  // namespace

MoveTime AllocateMoveTime(const ClockReading& r) {
  const bool repeating = r.movesPerControl > 0;
  MoveTime mt;
  mt.movesToGo = repeating ? r.movesPerControl - r.movesPlayed % r.movesPerControl : MOVES_LEFT_IN_GAME;
  mt.mayExtend = !repeating || mt.movesToGo > 4;
  // Every later move before the clock is refilled costs it the overhead and a short search at the
  // least, less what the increment gives back; this move costs the overhead.
  int64_t laterMoves = repeating ? mt.movesToGo - 1 : std::max(MOVE_HORIZON - r.movesPlayed - 1, MIN_LATER_MOVES);
  int64_t perMove = int64_t(r.overhead) + MIN_SEARCH_TIME;
  int64_t keep = laterMoves * std::max<int64_t>(perMove - r.increment, 0) + r.overhead + SAFETY_MARGIN;
  int64_t spare = r.clock - keep;
  // The short search is allowed even when nothing is spare: the later moves were counted with it.
  int64_t hard = std::max<int64_t>(spare, MIN_SEARCH_TIME);

  // This move's share of the spare time, less a margin on long shares; nine tenths of it on the
  // last move before the control.
  int64_t share = spare / mt.movesToGo;
  if (share >= 5000)
    share -= 1000;
  else if (share >= 2200)
    share -= 500;
  int64_t budget = r.increment + (mt.movesToGo == 1 ? share * 9 / 10 : share);
  mt.budget = clampBudget(std::min(budget, hard));
  mt.hardLimit = clampBudget(hard);
  return mt;
}

void SetLevel(int movesPerControl, double incrementSeconds) {
  timeControl.movesPerTimeControl = std::max(movesPerControl, 0);
  double increment = std::isfinite(incrementSeconds) && incrementSeconds > 0 ? incrementSeconds * 1000 : 0;
  timeControl.timeIncrement = clampBudget(int64_t(std::min(increment, double(MAX_TIME_BUDGET))));
  timeControl.fixedMoveTime = 0;
}

void SetFixedMoveTime(int milliseconds) {
  timeControl.fixedMoveTime = std::clamp(milliseconds, 0, MAX_TIME_BUDGET);
  // The budget is known without a clock: a front end need send none.
  if (timeControl.fixedMoveTime > 0) applyFixedBudget();
}

int OwnMovesPlayed() {
  int plies = pos.plyCount - 1;
  return pos.rootSideToMove == driver.engineSide ? plies / 2 : (plies + 1) / 2;
}

void ComputeTimeBudget(int ownTime) { budgetFromClock(int64_t(ownTime) * 10, OwnMovesPlayed()); }

void ComputeGoBudget(const GoClock& go) {
  TimeControl& tc = timeControl;
  tc.movesPerTimeControl = std::max(go.movesToGo, 0);
  tc.timeIncrement = clampBudget(std::max(go.increment, 0));
  tc.fixedMoveTime = std::clamp(go.moveTime, 0, MAX_TIME_BUDGET);
  if (go.clock < 0) {
    tc.lastClock = -1;
    applyFixedBudget();
    return;
  }
  // The moves to go are counted from this move on: none of the game's moves count against them.
  budgetFromClock(go.clock, go.movesToGo > 0 ? 0 : OwnMovesPlayed());
}

void ChargePonderTime() {
  SearchLimits& limits = search.limits;
  int keep = 2 * limits.budget / 3;
  int now = processClock();
  if (now - limits.startTime > keep) limits.startTime = now - keep;
}

void ReadTimeLine(const char* logSuffix) {
  int own = 0, opponent = 0;
  char word[INPUT_TOKEN_SIZE] = "";
  if (!readInt(&own) || !readToken(word, sizeof word) || !readInt(&opponent)) {
    logLine("-M: incomplete time line, budget kept");
    return;
  }
  logLine("%d %s %d%s", own, word, opponent, logSuffix);
  ComputeTimeBudget(own);
}

void MoveTimeStarted() {
  timeControl.moveStart = processClock();
  search.limits.moveStart = timeControl.moveStart;
}

void MoveTimeEnded() {
  TimeControl& tc = timeControl;
  if (tc.lastClock >= 0) {
    tc.sampleReady = true;
    tc.sampleClock = tc.lastClock;
    tc.sampleElapsed = processClock() - tc.moveStart;
    tc.sampleRefilled = tc.movesPerTimeControl > 0 && tc.movesToGo == 1;
  }
  tc.lastClock = -1;
}

void SetUnlimitedBudget() {
  timeControl.movesPerTimeControl = 1;
  timeControl.timeIncrement = 0;
  timeControl.fixedMoveTime = 0;
  ComputeTimeBudget(UNLIMITED_CLOCK);
}
