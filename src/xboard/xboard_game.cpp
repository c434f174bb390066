// The commands that act on the game: moves, a new game, set-up positions, taking moves back, the
// modes.
#include <cstring>

#include "board/fen.h"
#include "board/move.h"
#include "io/log.h"
#include "io/output.h"
#include "xboard/xboard.h"

namespace xboard {

void FrontEnd::refuseNow() { SendLine("Error (command not legal now): %s", command_); }

void FrontEnd::moveCommand(Move m) {
  char text[8];
  MoveToText(m, text);
  if (mode_ == Mode::PONDERING && m == ponderMove_) {
    logLine("--- GOOD PONDER --- cmd:%s", text);
    engine_.playMove(m);
    ponderMove_ = MOVE_NONE;
    mode_ = Mode::THINKING;
    engineSide_ = engine_.game().position().sideToMove;
    closingLine_ = true;
    const SearchRequest clock = clockRequest();
    engine_.ponderHit(&clock);
    return;
  }
  // Any other move ends the search under way without a move: the game has gone elsewhere.
  if (mode_ == Mode::PONDERING) logLine("-BAD PONDER");
  stopSearch();
  if (mode_ == Mode::THINKING || mode_ == Mode::PONDERING) {
    answerOwedPing();
    mode_ = Mode::PLAYING;
    ponderMove_ = MOVE_NONE;
  }
  if (positionRefused_ || !engine_.playMove(m)) {
    LogBoard(engine_.position().board);
    logLine("*********** ILLEGAL %s", text);
    SendLine("Illegal move: %s", text);
    return;
  }
  if (mode_ == Mode::ANALYZING) analysisDue_ = true;
  if (mode_ == Mode::PLAYING) think();  // the engine answers
}

void FrontEnd::goCommand(LineWords&) {
  // Analysis never plays a move.
  if (mode_ == Mode::ANALYZING) return refuseNow();
  think();
}

void FrontEnd::playotherCommand(LineWords&) {
  if (mode_ == Mode::ANALYZING) return refuseNow();
  // The engine answers the opponent, who is to move.
  mode_ = Mode::PLAYING;
  engineSide_ = engine_.game().position().sideToMove ^ 1;
}

void FrontEnd::newCommand(LineWords&) {
  engine_.newGame();
  positionRefused_ = false;
  if (mode_ != Mode::ANALYZING) mode_ = Mode::PLAYING;
  analysisDue_ = true;
  engineSide_ = BLACK;  // White moves first and the engine answers
  depthLimit_ = 0;
}

void FrontEnd::resultCommand(LineWords& arguments) {
  // The result and its comment are the rest of the line.
  logLine("result %s", arguments.rest());
  newCommand(arguments);
}

void FrontEnd::forceCommand(LineWords&) {
  logLine("-M: entered StopEngine");
  answerOwedPing();
  ponderMove_ = MOVE_NONE;
  // Analysis goes on: front ends send "force" to make sure the engine does not move while it
  // analyses.
  if (mode_ != Mode::ANALYZING) mode_ = Mode::FORCE;
  logLine("-M: exited StopEngine");
}

void FrontEnd::setboardCommand(LineWords& arguments) {
  const char* text = arguments.rest();
  logLine("setboard %s", text);
  analysisDue_ = true;
  if (engine_.setUp(text)) {
    positionRefused_ = false;
    return;
  }
  // Moves wait for a position that can be played: played on the old one they would make no sense.
  positionRefused_ = true;
  logLine("-M: tellusererror Illegal position");
  SendLine("tellusererror Illegal position");
}

void FrontEnd::takeBack(int plies) {
  if (!engine_.takeBack(plies)) return refuseNow();
  analysisDue_ = true;
}

void FrontEnd::undoCommand(LineWords&) { takeBack(1); }

void FrontEnd::removeCommand(LineWords&) { takeBack(2); }

void FrontEnd::analyzeCommand(LineWords&) {
  mode_ = Mode::ANALYZING;
  analysisDue_ = true;
}

void FrontEnd::exitCommand(LineWords&) {
  if (mode_ != Mode::ANALYZING) return;
  mode_ = Mode::FORCE;
  analysisDue_ = false;
}

void FrontEnd::setSide(int side) {
  // The side was set by hand, not by a move: the game's line starts here.
  engine_.setSideToMove(side);
  analysisDue_ = true;
}

void FrontEnd::whiteCommand(LineWords&) { setSide(WHITE); }

void FrontEnd::blackCommand(LineWords&) { setSide(BLACK); }

void FrontEnd::quitCommand(LineWords&) { mode_ = Mode::QUITTING; }

// "Move now": the search for the engine's move ends and its move follows.
void FrontEnd::questionCommand(LineWords&) {
  if (mode_ == Mode::THINKING) engine_.stop();
}

}  // namespace xboard
