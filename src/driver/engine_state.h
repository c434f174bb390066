// The engine's protocol state, the command loop's input token, and the log.
#pragma once
#include <cstdint>

#include "board/types.h"

enum EngineState : int {
  FORCE_MODE = 0,  // moves received are played; the engine does not answer
  THINKING = 1,    // a search for the engine's own move is running
  PONDERING = 2,   // a search on the expected opponent move is running or was interrupted
  PLAYING = 3,     // the engine answers each opponent move
  QUITTING = 4,    // the loop has ended
  ANALYZING = 5,   // moves are played as in force mode and every position is searched without limit
};

inline constexpr int INPUT_TOKEN_SIZE = 256;

// A word argument of a command (a file name, a player's name), read from standard input.
struct InputWord {
  char text[INPUT_TOKEN_SIZE] = "";
};
InputWord readInputWord();

// The deepest iteration a search may reach: as deep as the ply stack allows.
inline constexpr uint32_t MAX_SEARCH_DEPTH = 127;
// Iterations start at this depth, so no depth limit is lower.
inline constexpr uint32_t MIN_SEARCH_DEPTH = 2;

// Room for the number of a ping.
inline constexpr int PONG_SIZE = 32;

struct DriverState {
  EngineState engineState;
  bool ponderEnabled;
  Move ponderMove;                     // the predicted opponent move made while pondering
  int engineSide;                      // the colour the engine plays (its clock is the own clock)
  char inputToken[INPUT_TOKEN_SIZE];   // current token, setboard text or file-name argument
  bool inputPending;                   // the search read a token the loop must still dispatch
  bool postThinking;                   // thinking lines are printed
  uint32_t depthLimit;                 // deepest iteration of a search for a move
  bool analysisDue;                    // the game position changed or analysis was interrupted
  char owedPong[PONG_SIZE];            // a ping that came during the search for a move; empty: none
};

extern DriverState driver;
