// The time budget of the coming move, from "level" and "time".
#pragma once

struct TimeControl {
  int movesPerTimeControl;  // 0: the whole game is one control
  int timeIncrement;        // milliseconds per move
  int movesToGo;
  int timeBudget;       // milliseconds for the current move
  int searchStartTime;  // process clock when the current move's time started
};

extern TimeControl timeControl;

// Budget from the own clock (centiseconds); the opponent's clock is not used.
void ComputeTimeBudget(int ownTime);
