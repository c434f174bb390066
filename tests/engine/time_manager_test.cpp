// The time rules: simulated games in every kind of control never run the clock out, even with slow
// replies from the front end; the limits stay within the clock for any input; and the stop rule
// between iterations spends more on an unsettled search without ever starting an iteration it
// cannot finish.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>

#include "engine/time_manager.h"
#include "search/time_rules.h"

namespace {

// What the front end charges a move beyond the engine's own time, and now and then much more.
constexpr int64_t FRONT_END_CHARGE = 10;
constexpr int64_t SLOW_REPLY = 200;
constexpr uint32_t SLOW_REPLY_ONE_IN = 20;

// A control as the front end keeps it: the base time, refilled after every `moves` own moves when
// moves is non-zero, the increment added after each move; the game lasts gameMoves own moves.
struct Control {
  const char* name;
  int moves;
  int64_t base;
  int64_t increment;
  int gameMoves;
};

// Sudden-death games last 120 moves, beyond nearly every game a match plays; a longer one at game
// in 10 s is out of reach of any rule that uses the clock, since the charges alone then eat half
// of it. Every other game lasts 300 moves.
const Control Controls[] = {
    {"game in 10 s", 0, 10'000, 0, 120},
    {"game in 20 s", 0, 20'000, 0, 120},
    {"game in 1 min", 0, 60'000, 0, 120},
    {"game in 5 min", 0, 300'000, 0, 120},
    {"10 s + 0.1 s", 0, 10'000, 100, 300},
    {"2 s + 1 s", 0, 2'000, 1'000, 300},
    {"0.3 s + 2 s", 0, 300, 2'000, 300},
    {"40 moves in 20 s", 40, 20'000, 0, 300},
    {"40 moves in 2 s", 40, 2'000, 0, 300},
    {"5 moves in 1 s", 5, 1'000, 0, 300},
    {"UCI movestogo 30 in 10 s + 0.1 s", 30, 10'000, 100, 300},
};

enum class Spend { OPTIMUM, MAXIMUM };

// Plays one game of the engine's moves, each spending the optimum or the whole maximum plus what
// the front end charges, the slow replies picked by `rng`. Returns the lowest clock after a move.
int64_t lowestClock(const Control& c, Spend spend, int firstPly, std::mt19937& rng) {
  int64_t clock = c.base, lowest = clock;
  for (int k = 0; k < c.gameMoves; ++k) {
    int movesToGo = c.moves ? c.moves - k % c.moves : 0;
    TimeLimits limits = AllocateTime({clock, c.increment, movesToGo, firstPly + 2 * k, DEFAULT_MOVE_OVERHEAD});
    clock -= (spend == Spend::OPTIMUM ? limits.optimum : limits.maximum) + FRONT_END_CHARGE;
    if (rng() % SLOW_REPLY_ONE_IN == 0) clock -= SLOW_REPLY;
    lowest = std::min(lowest, clock);
    clock += c.increment;
    if (c.moves && (k + 1) % c.moves == 0) clock += c.base;
  }
  return lowest;
}

TEST(TimeManager, SimulatedGamesWithSlowRepliesNeverRunTheClockOut) {
  std::mt19937 rng(20240611);
  for (const Control& c : Controls)
    for (Spend spend : {Spend::OPTIMUM, Spend::MAXIMUM})
      for (int firstPly : {0, 1}) {
        std::string what = std::string(c.name) + (spend == Spend::OPTIMUM ? ", optimum" : ", maximum") +
                           (firstPly ? ", Black" : ", White");
        EXPECT_GT(lowestClock(c, spend, firstPly, rng), 0) << what;
      }
}

// The rules they replace kept the clock for a game of 300 moves: at game in 10 s more than half
// of it was still unused at move 60.
TEST(TimeManager, SuddenDeathSpendsMostOfTheClockByMove60) {
  for (int64_t base : {10'000, 60'000, 300'000}) {
    int64_t clock = base;
    for (int k = 0; k < 60; ++k) clock -= AllocateTime({clock, 0, 0, 2 * k, DEFAULT_MOVE_OVERHEAD}).optimum;
    EXPECT_LT(clock, base / 2) << "game in " << base << " ms";
    EXPECT_GT(clock, 0) << "game in " << base << " ms";
  }
}

// A control that repeats refills the clock, so an early bonus only starves the later moves of each
// period: at 40 moves in 20 s the first ten moves took twice the time of moves 21 to 30 and the
// engine lost ground to the even spending of the rules before.
TEST(TimeManager, RepeatingControlSpendsEachPeriodEvenly) {
  for (int64_t base : {20'000, 300'000}) {
    int64_t clock = base;
    int64_t firstTen = 0, twentiesTen = 0;
    for (int k = 0; k < 40; ++k) {
      int64_t spent = AllocateTime({clock, 0, 40 - k, 2 * k, DEFAULT_MOVE_OVERHEAD}).optimum;
      clock -= spent;
      if (k < 10) firstTen += spent;
      if (k >= 20 && k < 30) twentiesTen += spent;
    }
    EXPECT_LT(firstTen, twentiesTen * 11 / 10) << "40 moves in " << base << " ms";
    EXPECT_GT(clock, 0) << "40 moves in " << base << " ms";
  }
}

// Any reading, sensible or absurd: 1 ms <= optimum <= maximum <= the clock less the overhead (or
// 1 ms when nothing is left), and more clock never gives less time.
TEST(TimeManager, LimitsStayWithinTheClockAndGrowWithIt) {
  const int64_t oddTimes[] = {INT64_MIN, -1, 0, 1, 7, INT64_MAX};
  const int oddCounts[] = {INT_MIN, -3, 0, 1, INT_MAX};
  std::mt19937_64 rng(7);
  auto pick = [&](auto const& odd, int64_t sensible) {
    return rng() % 8 == 0 ? odd[rng() % std::size(odd)] : int64_t(rng() % uint64_t(sensible));
  };
  for (int i = 0; i < 200'000; ++i) {
    ClockReading r;
    r.clock = pick(oddTimes, 600'000);
    r.increment = rng() % 2 ? 0 : pick(oddTimes, 30'000);
    r.movesToGo = int(rng() % 2 ? 0 : pick(oddCounts, 60));
    r.ply = int(pick(oddCounts, 400));
    r.moveOverhead = int(rng() % 4 ? DEFAULT_MOVE_OVERHEAD : pick(oddCounts, 400));
    TimeLimits limits = AllocateTime(r);
    const int64_t overhead = std::clamp(r.moveOverhead, MIN_MOVE_OVERHEAD, MAX_MOVE_OVERHEAD);
    const int64_t spendable = r.clock > INT64_MIN + overhead ? r.clock - overhead : INT64_MIN;
    ASSERT_GE(limits.optimum, 1);
    ASSERT_GE(limits.maximum, limits.optimum);
    ASSERT_LE(limits.maximum, std::max<int64_t>(spendable, 1)) << r.clock << " " << r.increment;

    ClockReading more = r;
    more.clock = r.clock < INT64_MAX - 1000 ? r.clock + int64_t(rng() % 1000) + 1 : r.clock;
    TimeLimits moreLimits = AllocateTime(more);
    ASSERT_GE(moreLimits.optimum, limits.optimum) << r.clock << " -> " << more.clock;
    ASSERT_GE(moreLimits.maximum, limits.maximum) << r.clock << " -> " << more.clock;
  }
}

TEST(TimeManager, FixedMoveTimeIsTheTimeGivenLessTheOverhead) {
  TimeLimits limits = FixedMoveTime(1000, DEFAULT_MOVE_OVERHEAD);
  EXPECT_EQ(limits.maximum, 1000 - DEFAULT_MOVE_OVERHEAD);
  EXPECT_EQ(limits.optimum, limits.maximum);
  for (int64_t moveTime : {INT64_MIN, int64_t(-5), int64_t(0), int64_t(DEFAULT_MOVE_OVERHEAD)}) {
    EXPECT_EQ(FixedMoveTime(moveTime, DEFAULT_MOVE_OVERHEAD).maximum, 1) << moveTime;
  }
  // An overhead out of its bounds is taken at the nearest bound.
  EXPECT_EQ(FixedMoveTime(100'000, INT_MAX).maximum, 100'000 - MAX_MOVE_OVERHEAD);
  EXPECT_EQ(FixedMoveTime(100'000, INT_MIN).maximum, 100'000 - MIN_MOVE_OVERHEAD);
  EXPECT_GT(FixedMoveTime(INT64_MAX, 0).maximum, 100'000);
}

// The iterative deepening loop of one move, with iterations that each take `growth` times the one
// before, in whole milliseconds (the first takes firstIteration): the time at which the rule stops
// it. The best move no longer changes from depth stableFrom on; the score falls by scoreDrop.
int64_t stopTime(int64_t optimum, int64_t maximum, int64_t firstIteration, double growth, int stableFrom,
                 int scoreDrop = 0) {
  int64_t elapsed = 0, iteration = firstIteration;
  for (int depth = 1;; ++depth, iteration = int64_t(double(iteration) * growth)) {
    elapsed += iteration;
    IterationProgress p = {elapsed, iteration, depth, std::max(depth - stableFrom, 0), scoreDrop};
    if (StopBetweenIterations(p, optimum, maximum)) return elapsed;
  }
}

TEST(TimeRules, SettledSearchStopsEarlierThanAnUnsettledOne) {
  std::mt19937 rng(11);
  int64_t settledTotal = 0, unsettledTotal = 0, fallingTotal = 0;
  for (int i = 0; i < 2000; ++i) {
    int64_t optimum = 50 + rng() % 5000;
    int64_t first = 1 + rng() % 5;
    double growth = 1.5 + 0.001 * (rng() % 1000);
    int64_t settled = stopTime(optimum, optimum * 3, first, growth, 1);
    int64_t unsettled = stopTime(optimum, optimum * 3, first, growth, 1000);
    int64_t falling = stopTime(optimum, optimum * 3, first, growth, 1, 200);
    ASSERT_LE(settled, unsettled);
    ASSERT_LE(settled, falling);
    settledTotal += settled;
    unsettledTotal += unsettled;
    fallingTotal += falling;
  }
  // Over many moves the difference is real.
  EXPECT_GT(unsettledTotal, settledTotal * 3 / 2);
  EXPECT_GT(fallingTotal, settledTotal * 5 / 4);
}

// An iteration that is expected to take NEXT_ITERATION_GROWTH times the last one is never started
// when it would end past the maximum, however unsettled the search; so a search whose iterations
// grow no faster never runs past the maximum. And a less settled search never stops sooner.
TEST(TimeRules, NoIterationStartsThatCannotFinishBeforeTheMaximum) {
  std::mt19937 rng(5);
  for (int i = 0; i < 100'000; ++i) {
    IterationProgress p;
    p.elapsed = rng() % 10'000;
    p.lastIterationTime = rng() % (p.elapsed + 1);
    p.depth = 1 + rng() % 30;
    p.stableIterations = rng() % 2 ? 0 : rng() % 30;
    p.scoreDrop = int(rng() % 2000) - 1000;
    int64_t maximum = 1 + rng() % 20'000;
    int64_t optimum = 1 + rng() % maximum;
    bool stop = StopBetweenIterations(p, optimum, maximum);
    if (p.elapsed + NEXT_ITERATION_GROWTH * double(p.lastIterationTime) >= double(maximum)) {
      ASSERT_TRUE(stop);
    }
    if (stop) continue;
    IterationProgress lessSettled = p;
    lessSettled.stableIterations = std::max(p.stableIterations - 1 - int(rng() % 3), 0);
    lessSettled.scoreDrop = p.scoreDrop + int(rng() % 100);
    ASSERT_FALSE(StopBetweenIterations(lessSettled, optimum, maximum));
    ASSERT_FALSE(StopBetweenIterations(p, optimum + int64_t(rng() % 100), maximum + int64_t(rng() % 100)));
  }
  for (int i = 0; i < 2000; ++i) {
    int64_t maximum = 10 + rng() % 5000;
    double growth = 1.1 + (NEXT_ITERATION_GROWTH - 1.1) * double(rng() % 1000) / 1000;
    EXPECT_LE(stopTime(1 + rng() % maximum, maximum, 1 + rng() % 5, growth, 1000, 500), maximum);
  }
}

}  // namespace
