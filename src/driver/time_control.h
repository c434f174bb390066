// The time control of the game, from "level" and "time", turned into the search's budget.
#pragma once

struct TimeControl {
  int movesPerTimeControl;  // 0: the whole game is one control
  int timeIncrement;        // milliseconds per move
  int movesToGo;
};

extern TimeControl timeControl;

// Budgets are kept within this many milliseconds (a little over a day) either way, so that the
// search can widen a budget several times over and add it to the clock without overflowing.
#ifdef DORVIK_FUZZ
// A fuzzing build runs thousands of command streams a second: every search stays short.
inline constexpr int MAX_TIME_BUDGET = 20;
#else
inline constexpr int MAX_TIME_BUDGET = 100'000'000;
#endif

// Milliseconds every budget leaves on the own clock: the time to notice input, stop the search and
// send the move. Without it the last move of a fast control (nine tenths of a clock of a few
// hundred milliseconds), an increment larger than the clock, or a sixfold widened budget lost on
// time.
inline constexpr int CLOCK_RESERVE = 100;

// "level": moves per control (0 or less: the whole game) and the increment in whole seconds.
void SetLevel(int movesPerControl, int incrementSeconds);

// The search's budget from the own clock (centiseconds); the opponent's clock is not used.
void ComputeTimeBudget(int ownTime);

// Reads the rest of a "time" line (own clock, the "otim" word, the opponent's clock), logs it with
// the suffix and recomputes the budget. A line that cannot be read keeps the budget.
void ReadTimeLine(const char* logSuffix);

// "test": one move per control, no increment, and the largest budget.
void SetUnlimitedBudget();
