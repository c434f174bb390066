// The time control of the game, from "level", "st" and "time", turned into the search's limits.
//
// Every move costs the clock the engine's own thinking time plus an overhead it cannot see: the
// time for its input to arrive and its move to reach the front end. The overhead is measured
// from the clocks the front end reports (30 ms until it has been measured). A budget always
// leaves on the clock what the later moves of the control need at the least: until the clock is
// refilled, and in a game without moves per control for a game of MOVE_HORIZON moves.
#pragma once
#include <cstdint>

struct TimeControl {
  int movesPerTimeControl;  // 0: the whole game is one control
  int timeIncrement;        // ms per move
  int fixedMoveTime;        // ms for every move ("st"); 0 when the clock rules
  int movesToGo;            // moves to the next control, this one included
  int overhead;             // ms the front end charges per move beyond the engine's own time
  int lastClock;            // own clock (ms) of the last time line, -1 when none since the last move
  int moveStart;            // process clock when the front end started charging the current move
  // The engine's last move, for the next overhead sample: the clock it started with, the time it
  // took, and whether the control was refilled after it.
  bool sampleReady;
  int sampleClock;
  int sampleElapsed;
  bool sampleRefilled;
};

extern TimeControl timeControl;

// Budgets are kept within this many milliseconds (a little over a day) either way, so that the
// search can widen a budget several times over and add it to the clock without overflowing.
// A search without a time limit (analysis, UCI "go infinite") makes at most this many moves;
// 0: no limit.
#ifdef DORVIK_FUZZ
// A fuzzing build runs thousands of command streams a second: every search stays short.
inline constexpr int MAX_TIME_BUDGET = 20;
inline constexpr uint32_t UNTIMED_NODE_LIMIT = 2000;
#else
inline constexpr int MAX_TIME_BUDGET = 100'000'000;
inline constexpr uint32_t UNTIMED_NODE_LIMIT = 0;
#endif

// A game without moves per control may last this many moves of the engine: the clock is kept
// for them.
inline constexpr int MOVE_HORIZON = 300;

// The overhead assumed until it has been measured, and the least it is ever taken to be.
inline constexpr int DEFAULT_OVERHEAD = 30;
inline constexpr int MIN_OVERHEAD = 15;

// What the rules are given: the own clock, the control and how far the game is.
struct ClockReading {
  int64_t clock;        // own clock, ms
  int increment;        // ms added after each move
  int movesPerControl;  // 0: the whole game is one control
  int movesPlayed;      // moves the engine has made in the game
  int overhead;         // ms per move the front end charges beyond the engine's time
};

// What one move may take: the budget the search aims at (its first two iterations always finish),
// the hard limit at which it stops whatever it is doing, and whether re-searches may widen it.
struct MoveTime {
  int budget;
  int hardLimit;
  int movesToGo;
  bool mayExtend;
};

// The time rules.
MoveTime AllocateMoveTime(const ClockReading& reading);

// "level": moves per control (0 or less: the whole game) and the increment in seconds.
void SetLevel(int movesPerControl, double incrementSeconds);

// "st": the same time for every move, never run over (the budget is set at once); 0 returns to
// the clock.
void SetFixedMoveTime(int milliseconds);

// The search's limits from the own clock (centiseconds), the control and the measured overhead.
void ComputeTimeBudget(int ownTime);

// What a UCI "go" says of the time, in milliseconds.
struct GoClock {
  int64_t clock;  // own clock; -1 when not given
  int increment;  // own increment
  int movesToGo;  // moves to the next control, this one included; 0 when the clock is the game's
  int moveTime;   // a fixed time for this move; 0 when not given
};

// The search's limits from a UCI clock: a fixed time rules when given, else the clock by the
// same rules as a time line. Without either the caller searches without a time limit.
void ComputeGoBudget(const GoClock& go);

// The predicted move arrived while pondering: at most two thirds of the budget count as spent.
void ChargePonderTime();

// Reads the rest of a "time" line (own clock, the "otim" word, the opponent's clock), logs it with
// the suffix and recomputes the budget. A line that cannot be read keeps the budget.
void ReadTimeLine(const char* logSuffix);

// The front end starts charging the engine's move now (its opponent's move or "go" has arrived).
void MoveTimeStarted();

// The engine has sent its move: what it took becomes the next overhead sample.
void MoveTimeEnded();

// The moves the engine has made in this game (its side is the one to move, or the one that just
// moved while the opponent is to move).
int OwnMovesPlayed();

// "test": one move per control, no increment, and the largest budget.
void SetUnlimitedBudget();
