#include "driver/xboard_commands.h"

#include <cstdio>
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

// The command in driver.inputToken cannot be carried out in this state of the game.
void refuseNow() { std::printf("Error (command not legal now): %s\n", driver.inputToken); }

void takeBack(int moves) {
  if (!TakeBackGameMoves(moves)) refuseNow();
}

void setSideToMove(int side) {
  SetSideToMove(side);
  // The side was set by hand, not by a move: the game's line starts here.
  RestartGameLine();
}

}  // namespace

void timeCommand() { ReadTimeLine(""); }

void moveCommand(Move m) {
  switch (driver.engineState) {
    case FORCE_MODE:
    case ANALYZING:
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

void goCommand() {
  // Analysis never plays a move.
  if (driver.engineState == ANALYZING) return refuseNow();
  think();
}

void playotherCommand() {
  if (driver.engineState == ANALYZING) return refuseNow();
  // The engine answers the opponent, who is to move.
  driver.engineState = PLAYING;
  driver.engineSide = pos.sideToMove ^ 1;
}

void newCommand() {
  SetupGamePosition(START_FEN);
  if (driver.engineState != ANALYZING) driver.engineState = PLAYING;
  driver.engineSide = BLACK;  // White moves first and the engine answers
  driver.depthLimit = MAX_SEARCH_DEPTH;
}

void resultCommand() {
  // The result and its comment are the rest of the line: read as words, they would be unknown.
  char line[INPUT_TOKEN_SIZE];
  readLine(line, sizeof line);
  line[std::strcspn(line, "\r\n")] = '\0';
  logLine("result%s", line);
  newCommand();
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

void undoCommand() { takeBack(1); }

void removeCommand() { takeBack(2); }

void easyCommand() { driver.ponderEnabled = false; }

void hardCommand() { driver.ponderEnabled = true; }

void quitCommand() { driver.engineState = QUITTING; }

void whiteCommand() { setSideToMove(WHITE); }

void blackCommand() { setSideToMove(BLACK); }
