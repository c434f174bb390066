#include "engine/time_manager.h"

#include <algorithm>

namespace {

// The clock is planned over at most this many moves: enough for the rest of most games, few
// enough that the clock is really spent.
constexpr int MOVE_HORIZON = 50;
// The overhead is kept for every move of the horizon and this many more, so that even the last
// move before a control keeps something for a slow reply.
constexpr int EXTRA_OVERHEAD_MOVES = 2;
// The time left never counts as less than this, so that a spent clock still gives 1 ms limits.
constexpr double TIME_LEFT_FLOOR = 1;

// The optimum in a game of one control: OPTIMUM_SCALE / horizon of the time left (most games end
// before the horizon), half as much again for the first EARLY_FULL_PLIES plies (where games are
// decided), the bonus fading out by EARLY_END_PLIES; the time left shrinks with every move, so the
// optimum does too. A control that repeats gets an even share of the time left: its horizon is
// exact, the clock is refilled after it, and a larger share would leave the last moves before each
// control with a fraction of the first ones' time.
constexpr double OPTIMUM_SCALE = 1.2;
constexpr double EARLY_BONUS = 0.5;
constexpr int EARLY_FULL_PLIES = 40;
constexpr int EARLY_END_PLIES = 120;
// The optimum never takes more than this share of the clock less the overhead: an increment
// larger than the clock is not spent before it arrives, and a game with an increment keeps several
// increments on its clock rather than a few milliseconds.
constexpr double OPTIMUM_CLOCK_SHARE = 0.10;

// The maximum: this many optimums, for a best move that keeps changing and the re-searches of a
// failed window...
constexpr double MAXIMUM_RATIO = 3;
// ...never more than this share of the clock less the overhead, so that a search that always runs
// to its maximum settles with an increment well clear of zero...
constexpr double MAXIMUM_CLOCK_SHARE = 0.12;
// ...nor this share of the time left, so that near a control the moves still to play keep theirs.
constexpr double MAXIMUM_TIME_LEFT_SHARE = 0.10;

// Clocks and increments beyond a year are taken as a year: the sums below stay exact.
constexpr int64_t LONGEST_TIME = int64_t(366) * 24 * 3600 * 1000;

double clampTime(int64_t ms) { return double(std::clamp<int64_t>(ms, 0, LONGEST_TIME)); }

// The optimum's share of the time left, times the horizon.
double optimumScale(int ply, int movesToGo) {
  if (movesToGo > 0) return 1;
  double fade = (double(EARLY_END_PLIES) - ply) / (EARLY_END_PLIES - EARLY_FULL_PLIES);
  return OPTIMUM_SCALE * (1 + EARLY_BONUS * std::clamp(fade, 0.0, 1.0));
}

}  // namespace

TimeLimits AllocateTime(const ClockReading& r) {
  const double clock = clampTime(r.clock);
  const double increment = clampTime(r.increment);
  const double overhead = std::clamp(r.moveOverhead, MIN_MOVE_OVERHEAD, MAX_MOVE_OVERHEAD);
  const int horizon = r.movesToGo > 0 ? std::min(r.movesToGo, MOVE_HORIZON) : MOVE_HORIZON;

  const double timeLeft =
      std::max(clock + increment * (horizon - 1) - overhead * (horizon + EXTRA_OVERHEAD_MOVES), TIME_LEFT_FLOOR);
  const double clockLeft = std::max(clock - overhead, 0.0);

  const double optimum =
      std::min(timeLeft * optimumScale(r.ply, r.movesToGo) / horizon, OPTIMUM_CLOCK_SHARE * clockLeft);
  const double maximum =
      std::min({MAXIMUM_RATIO * optimum, MAXIMUM_CLOCK_SHARE * clockLeft, MAXIMUM_TIME_LEFT_SHARE * timeLeft});
  const int64_t optimumMs = std::max<int64_t>(int64_t(optimum), 1);
  return {optimumMs, std::max(int64_t(maximum), optimumMs)};
}

TimeLimits FixedMoveTime(int64_t moveTime, int moveOverhead) {
  const double overhead = std::clamp(moveOverhead, MIN_MOVE_OVERHEAD, MAX_MOVE_OVERHEAD);
  const int64_t limit = std::max<int64_t>(int64_t(clampTime(moveTime) - overhead), 1);
  return {limit, limit};
}
