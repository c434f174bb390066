#include "driver/game_position.h"

#include "board/fen.h"
#include "movegen/validate.h"
#include "search/ordering.h"
#include "search/search_clear.h"
#include "tools/epd_move.h"

bool SetupGamePosition(const char* text) {
  if (!SetupPosition(text)) return false;
  SearchClear();
  return ResolveEpdMove();
}

void PlayGameMove(Move m) {
  MakeRealMove(m);
  ResetHistoryTables();
}
