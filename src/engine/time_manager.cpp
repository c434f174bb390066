#include "engine/time_manager.h"

#include <algorithm>

TimeLimits AllocateTime(const ClockReading& r) {
  const int horizon = r.movesToGo > 0 ? std::min(r.movesToGo, 50) : 50;
  const int64_t left = std::max<int64_t>(r.clock + r.increment * (horizon - 1) - r.moveOverhead * (horizon + 2), 1);
  const int64_t optimum = std::max<int64_t>(left / horizon, 1);
  const int64_t maximum = std::max<int64_t>(std::min(optimum * 5, r.clock * 8 / 10 - r.moveOverhead), 1);
  return {std::min(optimum, maximum), maximum};
}

TimeLimits FixedMoveTime(int64_t moveTime, int moveOverhead) {
  const int64_t t = std::max<int64_t>(moveTime - moveOverhead, 1);
  return {t, t};
}
