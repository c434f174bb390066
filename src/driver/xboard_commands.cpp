#include "driver/xboard_commands.h"

#include <cstdlib>
#include <cstring>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "driver/engine_state.h"
#include "driver/game_flow.h"
#include "driver/game_position.h"
#include "driver/time_control.h"
#include "io/input.h"
#include "io/log.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"

namespace {

// A setboard line holds at most 254 characters, newline included.
constexpr size_t SETBOARD_LINE_SIZE = 255;


// Plays a move into the game; a refused move has been reported by the time it throws.
bool playGameMove(Move m) {
  try {
    PlayGameMove(m);
    return true;
  } catch (const MoveError&) {
    return false;
  }
}

}  // namespace

void timeCommand() { ReadTimeLine(""); }

void moveCommand(Move m) {
  switch (driver.engineState) {
    case FORCE_MODE:
      playGameMove(m);
      break;
    case PONDERING:
      if (m == driver.ponderMove) {
        logLine("-WARNING ------------------------------ ------------- -------- GOOD PONDER");
        AcceptPonderedMove();
        think();  // charges the time already spent pondering to this move
        break;
      }
      logLine("-BAD PONDER");
      TakeBackPonderMove();
      driver.engineState = PLAYING;
      if (playGameMove(m)) {
        ++pos.searchAge;
        think();
      }
      break;
    default:
      if (playGameMove(m)) think();  // the engine answers
      break;
  }
}

void goCommand() { think(); }

void newCommand() {
  SetupGamePosition(START_FEN);
  driver.engineState = PLAYING;
  driver.engineSide = BLACK;  // White moves first and the engine answers
}

void levelCommand() {
  // "level MPS BASE INC": the time lines carry the clock, so the base is only logged; the
  // increment may have a fraction ("level 0 0:10 0.1").
  int moves = 0;
  char baseTime[INPUT_TOKEN_SIZE] = "", increment[INPUT_TOKEN_SIZE] = "";
  if (readInt(&moves) && readToken(baseTime, sizeof baseTime)) readToken(increment, sizeof increment);
  logLine("%d %s %s", moves, baseTime, increment);
  SetLevel(moves, std::strtod(increment, nullptr));
}

void forceCommand() { StopEngine(); }

void setboardCommand() {
  char* text = driver.inputToken;
  readLine(text, SETBOARD_LINE_SIZE);
  text[std::strcspn(text, "\r\n")] = '\0';
  logLine("setboard %s", text);
  // The front end shows nothing for a refused position; the log says why.
  if (!SetupGamePosition(text)) logLine("-M: tellusererror Illegal position");
}

void easyCommand() { driver.ponderEnabled = false; }

void hardCommand() { driver.ponderEnabled = true; }

void quitCommand() { driver.engineState = QUITTING; }

void whiteCommand() { pos.sideToMove = pos.rootSideToMove = WHITE; }

void blackCommand() { pos.sideToMove = pos.rootSideToMove = BLACK; }
