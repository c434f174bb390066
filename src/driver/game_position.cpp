#include "driver/game_position.h"

#include "board/fen.h"
#include "driver/time_control.h"
#include "movegen/validate.h"
#include "search/ordering.h"
#include "search/search_clear.h"
#include "tools/epd_move.h"

bool SetupGamePosition(const char* text) {
  if (!SetupPosition(text)) return false;
  SearchClear();
  // The last move's timing belongs to the old game.
  timeControl.sampleReady = false;
  timeControl.lastClock = -1;
  return ResolveEpdMove();
}

void PlayGameMove(Move m) {
  MakeRealMove(m);
  ResetHistoryTables();
}
