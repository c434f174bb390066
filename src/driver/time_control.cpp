#include "driver/time_control.h"

#include <algorithm>
#include <cstdint>

#include "board/position.h"
#include "driver/engine_state.h"
#include "io/input.h"
#include "io/log.h"
#include "search/limits.h"
#include "search/search_state.h"

TimeControl timeControl = {35, 0, 0};

namespace {
// Moves assumed left when the whole game is one control.
constexpr int MOVES_LEFT_IN_GAME = 33;
// The own clock that stands for "no limit" (centiseconds).
constexpr int UNLIMITED_CLOCK = 999999999;
}  // namespace

void SetLevel(int movesPerControl, int incrementSeconds) {
  timeControl.movesPerTimeControl = std::max(movesPerControl, 0);
  int64_t increment = incrementSeconds >= 1 ? int64_t(incrementSeconds) * 1000 : 0;
  timeControl.timeIncrement = int(std::min<int64_t>(increment, MAX_TIME_BUDGET));
}

void ComputeTimeBudget(int ownTime) {
  TimeControl& tc = timeControl;
  // plyCount starts at 1, so plyCount / 2 is the number of full moves already played. A negative
  // moves-per-control count can only come from bad input; it counts as the whole game.
  tc.movesToGo = tc.movesPerTimeControl > 0
                     ? tc.movesPerTimeControl - (pos.plyCount / 2) % tc.movesPerTimeControl
                     : MOVES_LEFT_IN_GAME;
  // The clock is in centiseconds; keep a safety margin off long per-move times.
  int64_t t = ownTime / tc.movesToGo;
  if (t >= 500)
    t -= 100;
  else if (t >= 220)
    t -= 50;
  // Only nine tenths of the last move's share are used, the rest is margin before the control.
  int64_t budget = tc.timeIncrement + t * (tc.movesToGo == 1 ? 9 : 10);
  // The increment is credited only after the move: the clock as it stands bounds the budget.
  int64_t ceiling = int64_t(ownTime) * 10 - CLOCK_RESERVE;
  budget = std::min(budget, ceiling);
  SetBudget(int(std::clamp<int64_t>(budget, -MAX_TIME_BUDGET, MAX_TIME_BUDGET)),
            int(std::clamp<int64_t>(ceiling, -MAX_TIME_BUDGET, MAX_TIME_BUDGET)));
  // Re-searches may widen the budget while the next control is not near.
  search.limits.mayExtend = tc.movesToGo > 4 || tc.movesPerTimeControl == 0;
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

void SetUnlimitedBudget() {
  timeControl.movesPerTimeControl = 1;
  timeControl.timeIncrement = 0;
  ComputeTimeBudget(UNLIMITED_CLOCK);
}
