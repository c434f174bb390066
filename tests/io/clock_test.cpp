#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "io/clock.h"

TEST(SteadyClock, CountsWallTimeWhileTheProcessSleeps) {
  const int64_t before = steadyMilliseconds();
  EXPECT_GE(before, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_GE(steadyMilliseconds() - before, 30);
}
