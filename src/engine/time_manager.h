// How long one move may take, from the own clock and the control: an optimum the search aims at
// and a maximum at which it stops whatever it is doing.
//
// The clock is planned over a horizon of at most 50 moves (the moves to the next control when
// fewer). The time left for the plan is the clock, plus the increments of the later moves of
// the horizon, less the Move Overhead for every move of the horizon and two more: the front end
// charges each move beyond the engine's own thinking, and in a game that lasts longer than the
// horizon that reserve is what the later moves live on. The optimum is a share of the time left,
// larger early in a game of one control; the maximum a few optimums. Neither is ever more than a
// small share of the clock.
#pragma once
#include <cstdint>

// What the rules are given. Times in milliseconds.
struct ClockReading {
  int64_t clock;      // own clock
  int64_t increment;  // own increment, added after each move
  int movesToGo;      // moves to the next control, this one included; 0 when the rest of the game is one control
  int ply;            // plies of the game played so far (0 at the start)
  int moveOverhead;   // the user's allowance for what the front end charges beyond the engine's time
};

// Milliseconds from the moment the move's time started.
struct TimeLimits {
  int64_t optimum;  // the search stops between iterations about here (search/time_rules.h)
  int64_t maximum;  // the search stops here at the latest, even within an iteration
};

// Move Overhead, the user's setting (UCI's option "Move Overhead"): its default and its bounds.
// The default keeps the clock of simulated games with 10 ms of charges on every move and 200 ms
// more on one move in twenty (tests/engine/time_manager_test.cpp).
inline constexpr int DEFAULT_MOVE_OVERHEAD = 50;
inline constexpr int MIN_MOVE_OVERHEAD = 0;
inline constexpr int MAX_MOVE_OVERHEAD = 5000;

// The limits of a move played on the clock. Any input is accepted: a clock at or below zero, a
// negative count or an absurdly large time gives limits of at least 1 ms that do not overflow.
TimeLimits AllocateTime(const ClockReading& reading);

// The limits of a fixed time per move (xboard "st", UCI "movetime"): the time given less the
// overhead, at least 1 ms; the optimum is the maximum.
TimeLimits FixedMoveTime(int64_t moveTime, int moveOverhead);
