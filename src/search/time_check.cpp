#include <cstdint>

#include "driver/engine_state.h"
#include "driver/time_control.h"
#include "io/clock.h"
#include "search/poll.h"

bool TimeUp() {
  if (driver.engineState == PONDERING) return false;
  int64_t left = int64_t(timeControl.timeBudget) + timeControl.searchStartTime - processClock();
  return left <= 0;
}
