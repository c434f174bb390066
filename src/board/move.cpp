#include "board/move.h"

#include <initializer_list>

#include "board/position.h"

char* MoveToText(Move m, char* buffer) {
  static const char* const castlingText[4] = {"e8g8", "e1g1", "e8c8", "e1c1"};
  char* out = buffer;
  if (isCastling(m)) {
    for (const char* t = castlingText[moveType(m) - 12]; *t; ++t) *out++ = *t;
  } else {
    for (Square sq : {moveFrom(m), moveTo(m)}) {
      *out++ = char('a' + fileOf(sq));
      *out++ = char('8' - rowOf(sq));
    }
    if (isPromotion(m)) *out++ = "qnrb"[moveType(m) & 3];
  }
  *out = '\0';
  return out;
}

Move ParseCoordinateMove(const Position& pos, const char* t) {
  auto isFile = [](char c) { return c >= 'a' && c <= 'h'; };
  auto isRank = [](char c) { return c >= '1' && c <= '8'; };
  if (!isFile(t[0]) || !isRank(t[1]) || !isFile(t[2]) || !isRank(t[3])) return 0;
  Square from = squareFromChars(t[0], t[1]);
  Square to = squareFromChars(t[2], t[3]);
  Move m = makeMoveWord(from, to, QUIET);

  // Castling is recognised by the rights alone; the piece on the origin is not looked at.
  uint16_t rights = pos.castleRights;
  if (rights) {
    if (from == E8 && (rights & (BLACK_SHORT | BLACK_LONG))) {
      if (to == C8 && (rights & BLACK_LONG)) return m | (BLACK_CASTLE_LONG << 12);
      if (to == G8 && (rights & BLACK_SHORT)) return m | (BLACK_CASTLE_SHORT << 12);
    } else if (from == E1 && (rights & (WHITE_SHORT | WHITE_LONG))) {
      if (to == C1 && (rights & WHITE_LONG)) return m | (WHITE_CASTLE_LONG << 12);
      if (to == G1 && (rights & WHITE_SHORT)) return m | (WHITE_CASTLE_SHORT << 12);
    }
  }

  if (pos.board[from] <= BPAWN) {
    char promotion = t[4];
    if (promotion == '\0') {
      if (pos.epSquare && pos.epSquare == to) return m | (EN_PASSANT << 12);
    } else {
      static const char letters[] = "qnrb";
      for (int i = 0; i < 4; ++i)
        if (promotion == letters[i])
          return m | ((pos.board[to] == EMPTY ? PROMO_Q + i : CAPTURE_PROMO_Q + i) << 12);
      return m;
    }
  }
  return pos.board[to] != EMPTY ? m | (CAPTURE << 12) : m;
}
