// The engine's protocol state, the command loop's input token, and the log.
#pragma once
#include "board/types.h"

enum EngineState : int {
  FORCE_MODE = 0,  // moves received are played; the engine does not answer
  THINKING = 1,    // a search for the engine's own move is running
  PONDERING = 2,   // a search on the expected opponent move is running or was interrupted
  PLAYING = 3,     // the engine answers each opponent move
  QUITTING = 4,    // the loop has ended
};

inline constexpr int INPUT_TOKEN_SIZE = 256;

struct DriverState {
  EngineState engineState;
  bool ponderEnabled;
  Move ponderMove;                     // the predicted opponent move made while pondering
  int engineSide;                      // the colour the engine plays (its clock is the own clock)
  char inputToken[INPUT_TOKEN_SIZE];   // current token, setboard text or file-name argument
  bool inputPending;                   // the search read a token the loop must still dispatch
};

extern DriverState driver;
