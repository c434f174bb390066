#include "tools/epd_move.h"

#include <cstdio>

#include "board/fen.h"
#include "board/position.h"
#include "tools/san.h"

bool ResolveEpdMove() {
  if (!epdPending.kind) return true;
  const Move m = parseSanMove(epdPending.text);
  if (epdPending.kind == 'a') pos.epdAvoidMove = m;
  else pos.epdBestMove = m;
  if (m) return true;
  std::printf("Warning cannot recognize move: %s\r\n", epdPending.text);
  return false;
}
