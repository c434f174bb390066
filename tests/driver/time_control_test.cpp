#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <thread>

#include "board/position.h"
#include "driver/time_control.h"
#include "search/limits.h"
#include "search/search_state.h"
#include "io/clock.h"

namespace {

class TimeControlTest : public ::testing::Test {
 protected:
  void SetUp() override { pos.plyCount = 1; }
  void TearDown() override { SetLevel(35, 0); }

  static int budget(int ownTime) {
    ComputeTimeBudget(ownTime);
    return search.limits.budget;
  }
};

TEST_F(TimeControlTest, LevelWithMovesPerControl) {
  SetLevel(40, 0);
  EXPECT_EQ(budget(30000), 6500);  // 750 - 100 centiseconds
  EXPECT_EQ(timeControl.movesToGo, 40);
  // After 39 full moves one move is left: nine tenths of t = 1000 - 100.
  pos.plyCount = 79;
  EXPECT_EQ(budget(1000), 8100);
  EXPECT_EQ(timeControl.movesToGo, 1);
  // Below 220 centiseconds nothing is taken off.
  EXPECT_EQ(budget(219), 1971);
  // The 40th full move starts the next control.
  pos.plyCount = 81;
  EXPECT_EQ(budget(30000), 6500);
  EXPECT_EQ(timeControl.movesToGo, 40);
}

TEST_F(TimeControlTest, WholeGameControlWithIncrement) {
  SetLevel(0, 12);
  EXPECT_EQ(timeControl.timeIncrement, 12000);
  EXPECT_EQ(budget(12000), 15130);  // 12000 + (363 - 50) * 10
  EXPECT_EQ(timeControl.movesToGo, 33);
  pos.plyCount = 301;  // the move number does not matter
  EXPECT_EQ(budget(12000), 15130);
  EXPECT_EQ(timeControl.movesToGo, 33);
  SetLevel(0, 0);
  EXPECT_EQ(timeControl.timeIncrement, 0);
}

TEST_F(TimeControlTest, MarginThresholdsAreInclusive) {
  SetLevel(40, 0);
  EXPECT_EQ(budget(40 * 500), 4000);
  EXPECT_EQ(budget(40 * 499), 4490);
  EXPECT_EQ(budget(40 * 220), 1700);
  EXPECT_EQ(budget(40 * 219), 2190);
}

TEST_F(TimeControlTest, DefaultControlOf35MovesCountsGameMoves) {
  SetLevel(35, 0);
  pos.plyCount = 21;  // ten full moves played
  budget(2500);
  EXPECT_EQ(timeControl.movesToGo, 25);
  EXPECT_EQ(search.limits.budget, 1000);
}

// The increment is added to the clock only after the move, so it cannot pay for this one.
TEST_F(TimeControlTest, BudgetNeverSpendsTheReserveOfTheClock) {
  // An increment larger than the clock: one second on the clock, two a move.
  SetLevel(0, 2);
  EXPECT_EQ(budget(100), 1000 - CLOCK_RESERVE);
  EXPECT_EQ(budget(0), -CLOCK_RESERVE);
  EXPECT_LE(budget(-500), -CLOCK_RESERVE);
  SetLevel(1, 0);
  EXPECT_EQ(budget(INT_MIN), -MAX_TIME_BUDGET);

  // The last move of a 40-move control with 0.375 s left: nine tenths would leave 37 ms, less than
  // it takes to notice input and stop under load; a game was lost on time that way.
  SetLevel(40, 0);
  pos.plyCount = 79;
  EXPECT_EQ(budget(37), 370 - CLOCK_RESERVE);
  // A roomy clock keeps the nine tenths.
  EXPECT_EQ(budget(1000), 8100);
}

TEST_F(TimeControlTest, WideningStopsAtTheReserveOfTheClock) {
  // Five moves to go: a fifth of the clock widened sixfold would be more than the whole clock.
  SetLevel(40, 0);
  pos.plyCount = 71;
  ASSERT_EQ(budget(1000), 2000);
  ExtendBudget(3);
  ExtendBudget(2);
  EXPECT_EQ(search.limits.budget, 10000 - CLOCK_RESERVE);
  EndBudgetExtension();
  EXPECT_EQ(search.limits.budget, 2000);
  // A spent budget is never raised by the ceiling.
  ASSERT_LT(budget(5), 0);
  int spent = search.limits.budget;
  ExtendBudget(3);
  EXPECT_LE(search.limits.budget, spent);
  EndBudgetExtension();
  EXPECT_EQ(search.limits.budget, spent);
}

TEST_F(TimeControlTest, HugeClocksAndIncrementsAreClampedNotWrapped) {
  SetLevel(1, 0);
  EXPECT_EQ(budget(INT_MAX), MAX_TIME_BUDGET);
  SetLevel(40, 3000000);
  EXPECT_EQ(timeControl.timeIncrement, MAX_TIME_BUDGET);
  EXPECT_EQ(budget(INT_MAX), MAX_TIME_BUDGET);
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
  int fresh = budget(571);
  ASSERT_EQ(fresh, 170);

  budget(581);
  ExtendBudget(3);
  ComputeTimeBudget(571);
  EndBudgetExtension();
  EXPECT_EQ(search.limits.budget, fresh);

  // Widened before and after the new clock: only the later widening is taken off.
  budget(581);
  ExtendBudget(3);
  ComputeTimeBudget(571);
  ExtendBudget(2);
  EXPECT_EQ(search.limits.budget, 2 * fresh);
  EndBudgetExtension();
  EXPECT_EQ(search.limits.budget, fresh);

  // Without a new clock both widenings go.
  budget(571);
  ExtendBudget(3);
  ExtendBudget(2);
  EXPECT_EQ(search.limits.budget, 6 * fresh);
  EndBudgetExtension();
  EXPECT_EQ(search.limits.budget, fresh);
}

TEST(ProcessClock, CountsWallTimeWhileTheProcessSleeps) {
  int before = processClock();
  EXPECT_GE(before, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_GE(processClock() - before, 30);
}

}  // namespace
