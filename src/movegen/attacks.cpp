#include "movegen/attacks.h"

#include <initializer_list>

#include "board/move.h"
#include "board/position.h"
#include "board/tables.h"

namespace {

// Is sq attacked by a pawn, knight or slider of colour e? The enemy king is left out: no
// generator moves a king next to the other one.
inline bool attackedBy(const Position& pos, int e, Square sq) {
  const Bitboard* bb = pos.pieceBB;
  if (KnightAttacks[sq] & bb[pieceOf(e, WKNIGHT)]) return true;
  if (pawnAttackersOf(e, sq) & bb[pieceOf(e, WPAWN)]) return true;
  Bitboard queens = bb[pieceOf(e, WQUEEN)];
  Bitboard rookLike = queens | bb[pieceOf(e, WROOK)];
  Bitboard bishopLike = queens | bb[pieceOf(e, WBISHOP)];
  if ((rookLike | bishopLike) & QueenReach[sq]) {
    if ((rookLike & RookReach[sq]) && (rookAttacks(sq, pos.occ) & rookLike)) return true;
    if ((bishopLike & BishopReach[sq]) && (bishopAttacks(sq, pos.occ) & bishopLike)) return true;
  }
  return false;
}

// Per castling type (12..15): the squares tested for attack and the enemy-king zone.
struct CastlePath {
  Square origin, transit;
  Bitboard zone;
};

Bitboard squares(std::initializer_list<Square> list) {
  Bitboard b = 0;
  for (Square sq : list) b |= Bitboard(1) << (63 - sq);
  return b;
}

const CastlePath CastlePaths[4] = {
    {E8, F8, squares({E8, F8, G8, H8, E7, F7, G7, H7})},
    {E1, F1, squares({E1, F1, G1, H1, E2, F2, G2, H2})},
    {E8, D8, squares({B8, C8, D8, B7, C7, D7})},
    {E1, D1, squares({B1, C1, D1, B2, C2, D2})},
};

}  // namespace

void computeCheckInfo(const Position& pos, CheckInfo* info) {
  int s = pos.sideToMove, e = s ^ 1;
  Square k = pos.kingSquare[s];
  const Bitboard* bb = pos.pieceBB;
  Bitboard queens = bb[pieceOf(e, WQUEEN)];
  Bitboard rookLike = queens | bb[pieceOf(e, WROOK)];
  Bitboard bishopLike = queens | bb[pieceOf(e, WBISHOP)];
  Bitboard checkers = 0;
  // The line fields are written only when a slider of that kind stands on a line through the
  // king; the evasion generator reads them only for a single sliding checker.
  if ((rookLike | bishopLike) & QueenReach[k]) {
    if (rookLike & RookReach[k]) {
      Bitboard lines = rookAttacks(k, pos.occ);
      info->rookCheckLine = lines;
      checkers = rookLike & lines;
    }
    if (bishopLike & BishopReach[k]) {
      if (!checkers) info->rookCheckLine = 0;
      Bitboard diagonals = bishopAttacks(k, pos.occ);
      info->bishopCheckLine = diagonals;
      checkers |= bishopLike & diagonals;
    }
  }
  checkers |= KnightAttacks[k] & bb[pieceOf(e, WKNIGHT)];
  checkers |= pawnAttackersOf(e, k) & bb[pieceOf(e, WPAWN)];
  info->checkers = checkers;
}

bool kingAttackedAfter(const Position& pos, Move m, int mover) {
  if (attackedBy(pos, mover ^ 1, pos.kingSquare[mover])) return true;
  return isCastling(m) && castlePathAttacked(pos, m);
}

bool castlePathAttacked(const Position& pos, Move m) {
  const CastlePath& path = CastlePaths[moveType(m) - BLACK_CASTLE_SHORT];
  int side = (moveType(m) & 1) ? WHITE : BLACK;
  int e = side ^ 1;
  return attackedBy(pos, e, path.origin) || attackedBy(pos, e, path.transit) ||
         (path.zone & SquareMask[pos.kingSquare[e]]);
}

