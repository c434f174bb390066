// Generated moves and what a node knows of the check it stands in.
#pragma once
#include "board/types.h"

struct MoveEntry {
  int16_t score;  // ordering score, higher first
  Move move;
};

struct CheckInfo {
  Bitboard checkers;         // enemy pieces attacking the king of the side to move
  Bitboard rookCheckLine;    // rank and file attacks from the king; 0 when no rook-wise check
  Bitboard bishopCheckLine;  // diagonal attacks from the king
};

// No position can produce more pseudo-legal moves than this: 63 non-king pieces, none with more
// than 27 targets. Sizing every list's room by it means no list can run past its end.
inline constexpr int MAX_GENERATED_MOVES = 63 * 27 + 8 + 2;
