// Where a position's value is stored: the ending in the orientation its table holds, with the
// board turned to match and its men in the ending's order.
#pragma once
#include "core/ending.h"

namespace egbb {

// Turns a legal board into its table's orientation (colours swapped and ranks mirrored when
// Black has the stronger men) and arranges its men; returns the ending of that table.
inline Ending orient(Board& board) {
  Ending ending = Ending::of(board);
  if (!ending.isStored()) {
    board = flippedBoard(board);
    ending = ending.flipped();
  }
  arrangeMen(board);
  return ending;
}

}  // namespace egbb
