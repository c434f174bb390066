// How much of the clock one move may take.
#pragma once
#include <cstdint>

struct ClockReading {
  int64_t clock;
  int64_t increment;
  int movesToGo;
  int ply;
  int moveOverhead;
};

struct TimeLimits {
  int64_t optimum;
  int64_t maximum;
};

inline constexpr int DEFAULT_MOVE_OVERHEAD = 30;
inline constexpr int MIN_MOVE_OVERHEAD = 0;
inline constexpr int MAX_MOVE_OVERHEAD = 5000;

TimeLimits AllocateTime(const ClockReading& reading);
TimeLimits FixedMoveTime(int64_t moveTime, int moveOverhead);
