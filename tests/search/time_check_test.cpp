#include <gtest/gtest.h>

#include "driver/time_control.h"
#include "io/clock.h"
#include "search/limits.h"
#include "search/search_state.h"

namespace {

class TimeUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = search.limits;
    search.limits.pondering = false;
    search.limits.infinite = false;
  }
  void TearDown() override { search.limits = saved; }
  SearchLimits saved;
};

TEST_F(TimeUpTest, TimeIsUpOnceTheBudgetIsSpent) {
  search.limits.budget = 1000;
  search.limits.startTime = processClock();
  EXPECT_FALSE(TimeUp());
  search.limits.startTime = processClock() - 2000;
  EXPECT_TRUE(TimeUp());
  // Nothing left at all counts as up.
  search.limits.budget = 0;
  search.limits.startTime = processClock();
  EXPECT_TRUE(TimeUp());
  search.limits.budget = -MAX_TIME_BUDGET;
  EXPECT_TRUE(TimeUp());
}

TEST_F(TimeUpTest, NeverWhilePonderingOrWithoutLimit) {
  search.limits.pondering = true;
  search.limits.budget = -5000;
  search.limits.startTime = 0;
  EXPECT_FALSE(TimeUp());
  search.limits.pondering = false;
  EXPECT_TRUE(TimeUp());
  search.limits.infinite = true;
  EXPECT_FALSE(TimeUp());
}

TEST_F(TimeUpTest, WidenedBudgetsDoNotOverflow) {
  SetUnlimitedBudget();
  search.limits.budget *= 6;
  search.limits.startTime = processClock();
  EXPECT_FALSE(TimeUp());
}

}  // namespace
