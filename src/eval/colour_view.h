// One colour's view of the board for the evaluation's per-colour templates: its pieces, its
// forward direction, and its squares named as White sees them.
#pragma once
#include "board/tables.h"
#include "board/types.h"

template <Colour C>
struct ColourView {
  static constexpr Colour them = C == WHITE ? BLACK : WHITE;
  static constexpr Piece pawn = C == WHITE ? WPAWN : BPAWN;
  static constexpr Piece knight = C == WHITE ? WKNIGHT : BKNIGHT;
  static constexpr Piece bishop = C == WHITE ? WBISHOP : BBISHOP;
  static constexpr Piece rook = C == WHITE ? WROOK : BROOK;
  static constexpr Piece queen = C == WHITE ? WQUEEN : BQUEEN;
  static constexpr Piece enemyPawn = C == WHITE ? BPAWN : WPAWN;
  static constexpr Piece enemyQueen = C == WHITE ? BQUEEN : WQUEEN;

  static constexpr const Bitboard* passedMask = C == WHITE ? WhitePassedMask : BlackPassedMask;
  static constexpr const Bitboard* frontSpan = C == WHITE ? WhiteFrontSpan : BlackFrontSpan;
  static constexpr const Bitboard* pawnAttacks = C == WHITE ? WhitePawnAttacks : BlackPawnAttacks;
  // The squares from which one of our pawns would attack sq.
  static constexpr const Bitboard* pawnDefenders = C == WHITE ? BlackPawnAttacks : WhitePawnAttacks;

  // Index into a piece-square table: black reads the board turned through 180 degrees.
  static constexpr Square tableIndex(Square sq) { return C == WHITE ? sq : 63 - sq; }
  // A square named from White's side (g1, f2, a7...), seen from this colour's side.
  static constexpr Square flip(Square sq) { return C == WHITE ? sq : sq ^ 56; }
  // Squares named from White's side, seen from this colour's side: the ranks' bytes in reverse.
  static constexpr Bitboard flipMask(Bitboard b) { return C == WHITE ? b : __builtin_bswap64(b); }
  // Rank counted from this colour's first rank, 0..7.
  static constexpr int rank(Square sq) { return C == WHITE ? 7 - rowOf(sq) : rowOf(sq); }
  // Whether square a lies further forward than square b.
  static constexpr bool ahead(Square a, Square b) { return C == WHITE ? a < b : a > b; }
  // The square of b nearest this colour's first rank.
  static Square rearmost(Bitboard b) { return C == WHITE ? BitScan(b) : Square(__builtin_clzll(b)); }
};

inline Bitboard rowMask(int row) { return Bitboard(0xFF) << (8 * (7 - row)); }
