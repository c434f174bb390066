// The 16-bit move word and its coordinate notation.
#pragma once
#include "board/position.h"
#include "board/types.h"

enum MoveType : int {
  QUIET = 0, CAPTURE = 1, EN_PASSANT = 2, MARKER = 3,
  PROMO_Q = 4, PROMO_N = 5, PROMO_R = 6, PROMO_B = 7,
  CAPTURE_PROMO_Q = 8, CAPTURE_PROMO_N = 9, CAPTURE_PROMO_R = 10, CAPTURE_PROMO_B = 11,
  BLACK_CASTLE_SHORT = 12, WHITE_CASTLE_SHORT = 13, BLACK_CASTLE_LONG = 14, WHITE_CASTLE_LONG = 15,
};

// Type-3 words: never played, stored where a move is expected.
enum : Move {
  MOVE_NONE = 0,
  MARK_MATED = 0x3000,
  MARK_STALEMATE = 0x3041,
  MARK_REPETITION = 0x3082,
  NULL_MOVE = 0x3104,
  MARK_FIFTY = 0x3186,
  MARK_MATERIAL = 0x31C7,
  MARK_NO_MOVE = 0x3208,
  MARK_STAND_PAT = 0x3249,
  MARK_BITBASE = 0x32CB,
};

inline constexpr Square moveTo(Move m) { return m & 63; }
inline constexpr Square moveFrom(Move m) { return (m >> 6) & 63; }
inline constexpr int moveType(Move m) { return m >> 12; }
inline constexpr Move makeMoveWord(Square from, Square to, int type) {
  return Move((type << 12) | (from << 6) | to);
}
inline constexpr bool isCastling(Move m) { return m >= 0xC000; }
inline constexpr bool isPromotion(Move m) { return m > 0x3FFF && m < 0xC000; }

// Writes the move in coordinate notation ("e2e4", "e7e8q"); returns the terminating zero.
char* MoveToText(Move m, char* buffer);

// Parses a coordinate move against a position; 0 when the text is no move. Legality is not tested
// here.
Move ParseCoordinateMove(const Position& pos, const char* text);
