// The time rules: simulated games in every kind of control must never run the clock out, and the
// measured overhead, the control ends of either colour and the widening of a budget behave.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <string>
#include <thread>

#include "board/position.h"
#include "driver/engine_state.h"
#include "driver/time_control.h"
#include "io/clock.h"
#include "search/limits.h"
#include "search/search_state.h"

namespace {

class TimeControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedControl = timeControl;
    savedLimits = search.limits;
    savedDriver = driver;
    pos.plyCount = 1;
    pos.rootSideToMove = WHITE;
    driver.engineSide = WHITE;
  }
  void TearDown() override {
    timeControl = savedControl;
    search.limits = savedLimits;
    driver = savedDriver;
  }

  static int budget(int ownCentiseconds) {
    ComputeTimeBudget(ownCentiseconds);
    return search.limits.budget;
  }

  TimeControl savedControl;
  SearchLimits savedLimits;
  DriverState savedDriver;
};

// A control as xboard keeps it: the base time, refilled after every `moves` own moves when moves
// is non-zero, and the increment added after each move.
struct Control {
  const char* name;
  int moves;
  int baseMs;
  double incrementSeconds;
};

const Control Controls[] = {
    {"game in 10 s", 0, 10000, 0},      {"game in 20 s", 0, 20000, 0},    {"game in 5 min", 0, 300000, 0},
    {"40 moves in 20 s", 40, 20000, 0}, {"40 moves in 2 s", 40, 2000, 0}, {"5 moves in 1 s", 5, 1000, 0},
    {"2 s + 1 s", 0, 2000, 1},          {"10 s + 0.1 s", 0, 10000, 0.1},  {"0.3 s + 2 s", 0, 300, 2},
};

enum class FrontEnd { XBOARD, UCI };

// Plays 300 moves of the engine, each taking what `spend` allows of the limits and costing the
// front end 30 ms more, with the engine as the given colour; the clock is read before each move
// the way the front end sends it: xboard's in centiseconds, UCI's in milliseconds with the moves
// to go. Returns the lowest clock after a move (ms).
template <typename Spend>
int lowestClock(const Control& c, Colour engine, Spend spend, FrontEnd frontEnd = FrontEnd::XBOARD) {
  constexpr int OVERHEAD = 30, MOVES = 300;
  timeControl.overhead = DEFAULT_OVERHEAD;
  timeControl.sampleReady = false;
  timeControl.lastClock = -1;
  SetLevel(c.moves, c.incrementSeconds);
  driver.engineSide = engine;
  const int increment = int(c.incrementSeconds * 1000 + 0.5);
  int clock = c.baseMs, lowest = INT_MAX;
  for (int k = 0; k < MOVES; ++k) {
    // The time line comes while the opponent is to move, except for White's first move ("go").
    bool opponentToMove = !(engine == WHITE && k == 0);
    pos.rootSideToMove = opponentToMove ? engine ^ 1 : engine;
    pos.plyCount = uint16_t(engine == WHITE ? 2 * k + (k == 0 ? 1 : 0) : 2 * k + 1);
    if (frontEnd == FrontEnd::XBOARD) ComputeTimeBudget(clock / 10);
    else ComputeGoBudget({clock, increment, c.moves ? c.moves - k % c.moves : 0, 0});
    if (c.moves) {
      EXPECT_EQ(timeControl.movesToGo, c.moves - k % c.moves) << c.name << ", move " << k;
    }
    int elapsed = std::max(spend(search.limits), 0);
    timeControl.moveStart = processClock() - elapsed;  // as if the move had taken that long
    MoveTimeEnded();
    clock -= elapsed + OVERHEAD;
    lowest = std::min(lowest, clock);
    clock += increment;
    if (c.moves && (k + 1) % c.moves == 0) clock += c.baseMs;
  }
  return lowest;
}

TEST_F(TimeControlTest, SimulatedGamesOf300MovesNeverRunTheClockOut) {
  for (const Control& c : Controls)
    for (Colour engine : {WHITE, BLACK}) {
      std::string what = std::string(c.name) + (engine == WHITE ? ", engine White" : ", engine Black");
      EXPECT_GE(lowestClock(c, engine, [](const SearchLimits& l) { return l.budget; }), 0) << what;
      // However the search ends, it never goes past its hard limit.
      EXPECT_GE(lowestClock(c, engine, [](const SearchLimits& l) { return l.hardLimit; }), 0) << what;
      // The same games with the clocks of UCI's "go".
      EXPECT_GE(lowestClock(c, engine, [](const SearchLimits& l) { return l.hardLimit; }, FrontEnd::UCI), 0)
          << what << ", UCI";
    }
}

// UCI's "movetime" is a fixed time for this move alone: never run over, and the next "go" with a
// clock returns to the clock.
TEST_F(TimeControlTest, UciMoveTimeIsNeverRunOver) {
  ComputeGoBudget({-1, 0, 0, 1000});
  EXPECT_LE(search.limits.hardLimit, 1000 - DEFAULT_OVERHEAD);
  EXPECT_EQ(search.limits.budget, search.limits.hardLimit);
  ComputeGoBudget({300000, 0, 40, 0});
  EXPECT_GT(search.limits.budget, 1000);
  EXPECT_EQ(timeControl.movesToGo, 40);
}

TEST_F(TimeControlTest, RoomyClocksGiveRoomyBudgets) {
  // The rules keep the clock for later moves without starving the present one.
  SetLevel(40, 0);
  EXPECT_GT(budget(30000), 6000);  // 40 moves in 5 minutes: about a fortieth
  SetLevel(0, 0);
  EXPECT_GT(budget(6000), 1000);  // game in a minute
  SetLevel(0, 12);
  EXPECT_GT(budget(12000), 12000);  // the increment is spent as it comes
  EXPECT_EQ(timeControl.movesToGo, 33);
}

// xboard refills the clock after each side's 40th move. Black's moves used to be counted one too
// many (plyCount / 2 counts White's moves), so Black spent nine tenths of its clock one move
// before the control and had a tenth left for the last move.
TEST_F(TimeControlTest, BlackJudgesItsControlEndRight) {
  SetLevel(40, 0);
  driver.engineSide = BLACK;
  pos.rootSideToMove = WHITE;  // the time line comes before White's move
  pos.plyCount = 77;           // 38 moves each: Black's 39th move is next
  budget(1000);
  EXPECT_EQ(timeControl.movesToGo, 2);
  pos.plyCount = 79;
  budget(1000);
  EXPECT_EQ(timeControl.movesToGo, 1);
  pos.plyCount = 81;
  budget(1000);
  EXPECT_EQ(timeControl.movesToGo, 40);
  // Pondering on White's move: the working position's count is the same as before it.
  driver.engineSide = WHITE;
  pos.rootSideToMove = BLACK;
  pos.plyCount = 80;  // White has made 40 moves: the next is the first of the new control
  budget(1000);
  EXPECT_EQ(timeControl.movesToGo, 40);
}

TEST_F(TimeControlTest, IncrementLargerThanTheClockIsNotSpentBeforeItArrives) {
  SetLevel(0, 2);
  budget(30);  // 0.3 s on the clock, 2 s a move
  EXPECT_LT(search.limits.hardLimit, 300 - DEFAULT_OVERHEAD);
  EXPECT_LE(search.limits.budget, search.limits.hardLimit);
  // A spent clock leaves time for a search of two plies, no more.
  budget(0);
  EXPECT_LE(search.limits.hardLimit, 5);
  EXPECT_LE(search.limits.budget, search.limits.hardLimit);
}

TEST_F(TimeControlTest, FixedTimePerMoveIsNeverRunOver) {
  SetFixedMoveTime(1000);
  budget(500000);
  EXPECT_LE(search.limits.hardLimit, 1000 - DEFAULT_OVERHEAD);
  EXPECT_EQ(search.limits.budget, search.limits.hardLimit);
  EXPECT_FALSE(search.limits.mayExtend);
  // "level" returns to the clock.
  SetLevel(40, 0);
  EXPECT_GT(budget(500000), 1000);
}

// The overhead is what the front end charges beyond the engine's own time. A slow front end is
// believed at once; a quick one lowers the estimate gradually, never below the floor.
TEST_F(TimeControlTest, OverheadIsLearnedFromTheClocks) {
  SetLevel(0, 0);
  timeControl.overhead = DEFAULT_OVERHEAD;
  int clock = 60000;
  auto move = [&](int elapsed, int charged) {
    ComputeTimeBudget(clock / 10);
    timeControl.moveStart = processClock() - elapsed;
    MoveTimeEnded();
    clock -= elapsed + charged;
  };
  move(200, 120);
  ComputeTimeBudget(clock / 10);
  EXPECT_GE(timeControl.overhead, 110);
  for (int i = 0; i < 60; ++i) move(200, 0);
  EXPECT_EQ(timeControl.overhead, MIN_OVERHEAD);
  // A clock set anew (a new control or a clock the user changed) is no sample.
  move(200, 0);
  clock += 50000;
  ComputeTimeBudget(clock / 10);
  EXPECT_EQ(timeControl.overhead, MIN_OVERHEAD);
}

TEST_F(TimeControlTest, HugeClocksAndIncrementsAreClampedNotWrapped) {
  SetLevel(1, 0);
  EXPECT_EQ(budget(INT_MAX), MAX_TIME_BUDGET);
  SetLevel(40, 3000000);
  EXPECT_EQ(timeControl.timeIncrement, MAX_TIME_BUDGET);
  EXPECT_EQ(budget(INT_MAX), MAX_TIME_BUDGET);
  EXPECT_GE(budget(INT_MIN), -MAX_TIME_BUDGET);
  // A nonsensical negative count of moves is taken as a whole-game control.
  SetLevel(-5, 0);
  budget(3300);
  EXPECT_EQ(timeControl.movesToGo, 33);
}

TEST_F(TimeControlTest, TestCommandBudgetLastsAtLeastADay) {
  SetUnlimitedBudget();
  EXPECT_EQ(timeControl.movesPerTimeControl, 1);
  EXPECT_EQ(timeControl.timeIncrement, 0);
  EXPECT_EQ(timeControl.movesToGo, 1);
  EXPECT_GE(search.limits.budget, 24 * 3600 * 1000);
  // The search may widen the budget sixfold and add the clock to it.
  EXPECT_LE(int64_t(search.limits.budget) * 6, int64_t(INT_MAX) / 2);
}

// An aspiration re-search widens the budget and takes the widening off afterwards. A "time"
// arriving in between (while pondering it always may) replaces the budget: taking the old widening
// off the new budget left it negative, or, once negative and widened again, hugely positive, which
// lost a game on time with 5.7 s on the clock.
TEST_F(TimeControlTest, BudgetRecomputedDuringAspirationResearchSurvivesTheRestore) {
  SetLevel(0, 0);
  int fresh = budget(5710);
  ASSERT_GT(fresh, 0);

  budget(5810);
  ExtendBudget(3);
  ComputeTimeBudget(5710);
  EndBudgetExtension();
  EXPECT_EQ(search.limits.budget, fresh);

  // Widened before and after the new clock: only the later widening is taken off.
  budget(5810);
  ExtendBudget(3);
  ComputeTimeBudget(5710);
  ExtendBudget(2);
  EXPECT_EQ(search.limits.budget, 2 * fresh);
  EndBudgetExtension();
  EXPECT_EQ(search.limits.budget, fresh);

  // A widening never goes past the hard limit, and a spent budget is never raised.
  budget(100);
  ExtendBudget(3);
  ExtendBudget(2);
  EXPECT_LE(search.limits.budget, std::max(search.limits.hardLimit, 0));
  EndBudgetExtension();
}

TEST(ProcessClock, CountsWallTimeWhileTheProcessSleeps) {
  int before = processClock();
  EXPECT_GE(before, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_GE(processClock() - before, 30);
}

}  // namespace
