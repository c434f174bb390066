#include "tools/epd_move.h"

#include <cstdio>

#include "board/move.h"
#include "tools/san.h"

bool ResolveEpdMove(Position& pos, const EpdOperation& op, Move& move) {
  move = MOVE_NONE;
  if (!op.kind) return true;
  move = parseSanMove(pos, op.text);
  if (move) return true;
  std::printf("Warning cannot recognize move: %s\r\n", op.text);
  return false;
}
