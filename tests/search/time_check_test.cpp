#include <gtest/gtest.h>

#include "driver/engine_state.h"
#include "driver/time_control.h"
#include "io/clock.h"
#include "search/poll.h"

namespace {

class TimeUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = timeControl;
    state = driver.engineState;
    driver.engineState = THINKING;
  }
  void TearDown() override {
    timeControl = saved;
    driver.engineState = state;
  }
  TimeControl saved;
  EngineState state;
};

TEST_F(TimeUpTest, TimeIsUpOnceTheBudgetIsSpent) {
  timeControl.timeBudget = 1000;
  timeControl.searchStartTime = processClock();
  EXPECT_FALSE(TimeUp());
  timeControl.searchStartTime = processClock() - 2000;
  EXPECT_TRUE(TimeUp());
  // Nothing left at all counts as up.
  timeControl.timeBudget = 0;
  timeControl.searchStartTime = processClock();
  EXPECT_TRUE(TimeUp());
  timeControl.timeBudget = -MAX_TIME_BUDGET;
  EXPECT_TRUE(TimeUp());
}

TEST_F(TimeUpTest, NeverWhilePondering) {
  driver.engineState = PONDERING;
  timeControl.timeBudget = -5000;
  timeControl.searchStartTime = 0;
  EXPECT_FALSE(TimeUp());
  driver.engineState = THINKING;
  EXPECT_TRUE(TimeUp());
}

TEST_F(TimeUpTest, WidenedBudgetsDoNotOverflow) {
  SetUnlimitedBudget();
  timeControl.timeBudget *= 6;
  timeControl.searchStartTime = processClock();
  EXPECT_FALSE(TimeUp());
}

}  // namespace
