#include "driver/game_position.h"

#include "board/position.h"
#include "driver/engine_state.h"
#include "driver/time_control.h"
#include "movegen/validate.h"
#include "search/ordering.h"
#include "search/search_clear.h"
#include "tools/epd_move.h"

GameLine gameLine;

namespace {

// The last move's timing belongs to the old position: the clock is set anew for the new one.
void forgetMoveTiming() {
  timeControl.sampleReady = false;
  timeControl.lastClock = -1;
}

// Every change of the game position is a new position to analyse.
void startLine(const EpdOperation& epd) {
  PositionToFen(gameLine.startFen);
  gameLine.startEpd = epd;
  gameLine.moveCount = 0;
  driver.analysisDue = true;
}

}  // namespace

bool SetupGamePosition(const char* text) {
  if (!SetupPosition(text)) return false;
  SearchClear();
  forgetMoveTiming();
  bool resolved = ResolveEpdMove();
  startLine(resolved ? epdPending : EpdOperation{});
  return resolved;
}

void PlayGameMove(Move m) {
  MakeRealMove(m);
  ResetHistoryTables();
  RecordGameMove(m);
}

void RecordGameMove(Move m) {
  // The move is on the board already: a full line starts anew from here.
  if (gameLine.moveCount == GAME_LINE_MOVES) return RestartGameLine();
  gameLine.moves[gameLine.moveCount++] = m;
  driver.analysisDue = true;
}

bool TakeBackGameMoves(int count) {
  if (!gameLine.startFen[0] || count < 0 || count > gameLine.moveCount) return false;
  const uint16_t age = pos.searchAge;
  SetupPosition(gameLine.startFen);  // it was set up from this text before
  epdPending = gameLine.startEpd;
  ResolveEpdMove();
  gameLine.moveCount -= count;
  for (int i = 0; i < gameLine.moveCount; ++i) MakeRealMove(gameLine.moves[i]);
  ResetHistoryTables();
  // The table's entries carry ages: the age never goes back.
  pos.searchAge = age;
  forgetMoveTiming();
  driver.analysisDue = true;
  return true;
}

void RestartGameLine() { startLine(EpdOperation{}); }
