#include "driver/xboard_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/move.h"
#include "driver/engine_state.h"
#include "driver/time_control.h"
#include "io/input.h"
#include "movegen/ply.h"
#include "movegen/validate.h"
#include "search/search_state.h"
#include "search/transtable.h"

namespace {

void skipInt() {
  int ignored;
  readInt(&ignored);
}

// The command in driver.inputToken lacks its argument or got a senseless one.
void refuseArgument(const char* argument) {
  std::printf("Error (bad argument): %s %s\n", driver.inputToken, argument);
}

// The move the engine would suggest to the side to move: the predicted reply while pondering, the
// analysis's choice, or the table's move for the game position; none while it thinks on its own
// move.
Move suggestedMove() {
  switch (driver.engineState) {
    case PONDERING: return driver.ponderMove;
    case ANALYZING: return moveType(search.result.move) == MARKER ? Move(MOVE_NONE) : search.result.move;
    case THINKING: return MOVE_NONE;
    default: {
      PlyRecord probe;
      return ProbeTable(&probe) && isLegalMove(probe.hashMove) ? probe.hashMove : Move(MOVE_NONE);
    }
  }
}

void answerPing(const char* number) { std::printf("pong %s\n", number); }

}  // namespace

void pingCommand() {
  InputWord number = readInputWord();
  // Everything before the ping is done, unless the engine is thinking on its move: the move
  // comes first.
  if (driver.engineState != THINKING) return answerPing(number.text);
  std::snprintf(driver.owedPong, sizeof driver.owedPong, "%.*s", PONG_SIZE - 1, number.text);
}

void AnswerOwedPing() {
  if (!driver.owedPong[0]) return;
  answerPing(driver.owedPong);
  driver.owedPong[0] = '\0';
}

void stCommand() {
  InputWord seconds = readInputWord();
  char* end;
  double value = std::strtod(seconds.text, &end);
  if (end == seconds.text || *end || !std::isfinite(value) || value <= 0) return refuseArgument(seconds.text);
  SetFixedMoveTime(int(std::min(value * 1000, double(MAX_TIME_BUDGET))));
}

void sdCommand() {
  InputWord depth = readInputWord();
  char* end;
  long value = std::strtol(depth.text, &end, 10);
  if (end == depth.text || *end || value < 1) return refuseArgument(depth.text);
  driver.depthLimit = uint32_t(std::clamp<long>(value, MIN_SEARCH_DEPTH, MAX_SEARCH_DEPTH));
}

void postCommand() { driver.postThinking = true; }

void nopostCommand() { driver.postThinking = false; }

void hintCommand() {
  Move m = suggestedMove();
  if (!m) return;
  char text[8];
  MoveToText(m, text);
  std::printf("Hint: %s\n", text);
}

// A draw offer is declined by not answering it.
void drawCommand() {}

void otimCommand() { skipInt(); }

void nameCommand() {
  char line[INPUT_TOKEN_SIZE];
  readLine(line, sizeof line);
}

void ratingCommand() {
  skipInt();
  skipInt();
}

void icsCommand() { readInputWord(); }

// The tables have fixed sizes and the search one thread.
void memoryCommand() { skipInt(); }

void coresCommand() { skipInt(); }

void protoverCommand() { skipInt(); }

void featureReplyCommand() { readInputWord(); }

void variantCommand() {
  InputWord name = readInputWord();
  if (std::strcmp(name.text, "normal") != 0) std::printf("Error (unsupported variant): %s\n", name.text);
}

void noEffectCommand() {}
