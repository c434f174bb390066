#include "eval/king_safety.h"

#include "board/position.h"
#include "board/tables.h"
#include "eval/colour_view.h"

namespace {

// Weight of the attack on a king by its openness count 0..15.
inline constexpr int16_t KingShelterScale[16] = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4};

// Value of an attack count 0..63 (the dip at entry 48 belongs to the table).
inline constexpr int KING_ATTACK_MAX = 63;
inline constexpr int16_t KingAttackScale[KING_ATTACK_MAX + 1] = {
    0,   1,   3,   8,   10,  15,  20,  25,  30,  35,  40,  45,  50,  55,  60,  65,
    70,  75,  80,  85,  90,  95,  100, 110, 115, 117, 120, 122, 125, 127, 130, 132,
    135, 137, 140, 142, 145, 147, 150, 152, 155, 157, 160, 162, 165, 167, 170, 172,
    165, 167, 170, 172, 175, 177, 190, 192, 195, 197, 200, 200, 200, 200, 200, 200,
};

// A castled king's corner, named from White's side.
struct ShelterPattern {
  Square kingSquares[3];
  Square rookSquares[2];    // a rook there has not been freed by castling: no shelter bonus
  Square shieldPawns[3];    // one unit each
  Square outerPawns[2];     // half a unit once for either
  int unit, unitAgainstQueen;
};

constexpr ShelterPattern ShelterPatterns[2] = {
    {{F1, G1, H1}, {G1, H1}, {F2, G2, H2}, {G3, H3}, 6, 12},
    {{A1, B1, C1}, {A1, B1}, {A2, B2, C2}, {A3, B3}, 3, 9},
};

}  // namespace

template <Colour C>
int KingShelter(const Position& pos) {
  using S = ColourView<C>;
  const Piece* board = pos.board;
  const Square king = pos.kingSquare[C];
  for (const ShelterPattern& p : ShelterPatterns) {
    if (king != S::flip(p.kingSquares[0]) && king != S::flip(p.kingSquares[1]) &&
        king != S::flip(p.kingSquares[2]))
      continue;
    if (board[S::flip(p.rookSquares[0])] == S::rook || board[S::flip(p.rookSquares[1])] == S::rook) return 0;
    int unit = pos.pieceBB[S::enemyQueen] ? p.unitAgainstQueen : p.unit;
    int score = 0;
    for (Square sq : p.shieldPawns)
      if (board[S::flip(sq)] == S::pawn) score += unit;
    if (board[S::flip(p.outerPawns[0])] == S::pawn || board[S::flip(p.outerPawns[1])] == S::pawn)
      score += unit / 2;
    return score;
  }
  return 0;
}

template <Colour C>
int KingOpenness(const Position& pos) {
  using S = ColourView<C>;
  const Bitboard own = pos.pieceBB[S::pawn], enemy = pos.pieceBB[S::enemyPawn];
  const Square king = pos.kingSquare[C];
  const bool ownOnFile = own & FileMaskExcl[king];
  int count = ownOnFile ? 0 : 2;
  if (!(enemy & FileMaskExcl[king])) count += ownOnFile ? 1 : 2;
  // Neighbouring files, the one toward h first: each step's weight depends on the count so far.
  auto neighbour = [&](Square beside) {
    if (!(own & FileMaskExcl[beside])) count += count > 3 ? 3 : 2;
    if (!(enemy & FileMaskExcl[beside])) count += count > 3 ? 2 : 1;
  };
  if (fileOf(king) != 7) neighbour(king + 1);
  if (fileOf(king) != 0) neighbour(king - 1);
  if (pos.pieceBB[S::enemyQueen]) ++count;
  return count;
}

template int KingShelter<WHITE>(const Position&);
template int KingShelter<BLACK>(const Position&);
template int KingOpenness<WHITE>(const Position&);
template int KingOpenness<BLACK>(const Position&);

int KingAttackValue(int openness, int attackCount) {
  if (attackCount > KING_ATTACK_MAX) attackCount = KING_ATTACK_MAX;
  return KingShelterScale[openness] * KingAttackScale[attackCount];
}
