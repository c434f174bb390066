// The time budget of the coming move, from "level" and "time".
#pragma once

struct TimeControl {
  int movesPerTimeControl;  // 0: the whole game is one control
  int timeIncrement;        // milliseconds per move
  int movesToGo;
  int timeBudget;       // milliseconds for the current move
  int searchStartTime;  // process clock when the current move's time started
  int budgetExtension;  // milliseconds an aspiration re-search added to timeBudget, to be taken off
  int budgetCeiling;    // the most the budget may grow to: the own clock less CLOCK_RESERVE
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

// Budget from the own clock (centiseconds); the opponent's clock is not used.
void ComputeTimeBudget(int ownTime);

// Widens the budget factor-fold for an aspiration re-search, up to budgetCeiling, remembering the
// amount added.
void ExtendBudget(int factor);

// Takes off what ExtendBudget added. A budget recomputed in between ("time" arrives during the
// re-search) carries only the extensions made after it.
void EndBudgetExtension();

// "test": one move per control, no increment, and the largest budget.
void SetUnlimitedBudget();
