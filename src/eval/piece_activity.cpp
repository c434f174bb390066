#include "eval/piece_activity.h"

#include "board/phase_tables.h"
#include "board/position.h"
#include "board/tables.h"
#include "eval/colour_view.h"

namespace {

// Bonus for a piece near the enemy king, by Chebyshev distance 0..7.
enum TropismPiece { TROPISM_KNIGHT, TROPISM_BISHOP, TROPISM_ROOK, TROPISM_QUEEN };
inline constexpr uint8_t TropismTable[4][8] = {
    {4, 5, 5, 2, 1, 0, 0, 0},
    {5, 5, 4, 2, 1, 0, 0, 0},
    {6, 5, 4, 2, 1, 0, 0, 0},
    {9, 9, 8, 4, 2, 1, 0, 0},
};


constexpr int KNIGHT_BASE = 314, BISHOP_BASE = 325, ROOK_BASE = 500, QUEEN_BASE = 950;
constexpr int TRAPPED_BISHOP = 210, BISHOP_PAIR = 50;
constexpr int ROOK_OPEN_FILE = 20, ROOK_HALF_OPEN_FILE = 8, ROOK_BEHIND_PASSER = 20;
constexpr int ROOK_ON_SEVENTH = 18, ROOKS_ON_SEVENTH = 36, ROOKS_ON_SEVENTH_KING_ON_EIGHTH = 48,
              ROOKS_ON_SEVENTH_KING_ON_SEVENTH = 18;

// A bishop on the first square is shut in by an enemy pawn on the second (named for White).
struct TrappedBishop {
  Square bishop, pawn;
};
constexpr TrappedBishop TrappedBishops[4] = {{A7, B6}, {B8, C7}, {G8, F7}, {H7, G6}};
// The bishops' squares of those traps: a bishop on none of them is trapped by none.
constexpr Bitboard TrapSquares = [] {
  Bitboard b = 0;
  for (const TrappedBishop& trap : TrappedBishops) b |= Bitboard(1) << (63 - trap.bishop);
  return b;
}();

constexpr Bitboard LightSquares = 0xAA55AA55AA55AA55ull;

// Mobility counts the squares of every slider, in most evaluations: the function is compiled twice
// and the version with the popcnt instruction is chosen at run time where the processor has it,
// so that the default build, which runs on any x86-64, need not go without it. ThreadSanitizer
// instruments the chooser, which runs before the sanitizer is set up: that build has one version.
#if defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define WITH_POPCNT_CLONE __attribute__((target_clones("popcnt", "default")))
#else
#define WITH_POPCNT_CLONE
#endif
inline int countSquares(Bitboard b) { return __builtin_popcountll(b); }

}  // namespace

template <Colour C>
WITH_POPCNT_CLONE PieceTally PieceActivity(const Position& pos) {
  using S = ColourView<C>;
  const int material = pos.totalMaterial;
  const int totalPawns = pos.pawnCount[WHITE] + pos.pawnCount[BLACK];
  const Square enemyKing = pos.kingSquare[S::them];
  const Bitboard kingZone = KingAttacks[enemyKing];
  const Bitboard targets = ~pos.colourPieces[C];
  const Bitboard ownPawns = pos.pieceBB[S::pawn], enemyPawns = pos.pieceBB[S::enemyPawn];
  PieceTally t{0, 0, 0, 0};

  auto attackOnKing = [&](Bitboard attacks, Square sq, TropismPiece kind) {
    t.kingAttack += ((attacks & kingZone) ? 1 : 0) + TropismTable[kind][SquareDistance[sq][enemyKing]];
  };

  const int16_t* knightTable = PhaseSelector[PHASE_KNIGHT][material];
  for (Bitboard b = pos.pieceBB[S::knight]; b; b &= b - 1) {
    Square sq = BitScan(b);
    t.score += KNIGHT_BASE + knightTable[S::tableIndex(sq)] + totalPawns;
    attackOnKing(KnightAttacks[sq], sq, TROPISM_KNIGHT);
    ++t.minors;
  }

  const int16_t* bishopTable = PhaseSelector[PHASE_BISHOP][material];
  const Bitboard bishops = pos.pieceBB[S::bishop];
  for (Bitboard b = bishops; b; b &= b - 1) {
    Square sq = BitScan(b);
    Bitboard attacks = bishopAttacks(sq, pos.occ);
    t.score += BISHOP_BASE + bishopTable[S::tableIndex(sq)] - totalPawns + 5 * countSquares(attacks & targets) - 24;
    attackOnKing(attacks, sq, TROPISM_BISHOP);
    ++t.minors;
  }
  if (bishops & S::flipMask(TrapSquares)) {
    for (const TrappedBishop& trap : TrappedBishops)
      if ((bishops & SquareMask[S::flip(trap.bishop)]) && pos.board[S::flip(trap.pawn)] == S::enemyPawn) {
        t.score -= TRAPPED_BISHOP;
        break;
      }
  }
  if ((bishops & LightSquares) && (bishops & ~LightSquares)) t.score += BISHOP_PAIR;

  const int16_t* rookTable = PhaseSelector[PHASE_ROOK][material];
  const Bitboard rooks = pos.pieceBB[S::rook];
  for (Bitboard b = rooks; b; b &= b - 1) {
    Square sq = BitScan(b);
    t.score += ROOK_BASE + rookTable[S::tableIndex(sq)];
    const Bitboard file = FileMaskExcl[sq];
    if (Bitboard ownOnFile = ownPawns & file) {
      // Our rearmost pawn on the file: a passer with the rook behind it.
      Square pawn = S::rearmost(ownOnFile);
      if (!(enemyPawns & S::passedMask[pawn]) && S::ahead(pawn, sq)) t.score += ROOK_BEHIND_PASSER;
    } else {
      t.score += (enemyPawns & file) ? ROOK_HALF_OPEN_FILE : ROOK_OPEN_FILE;
    }
    Bitboard attacks = rookAttacks(sq, pos.occ);
    t.score += 2 * countSquares(attacks & targets) - 14;
    attackOnKing(attacks, sq, TROPISM_ROOK);
    ++t.majors;
  }
  const int seventhRow = rowOf(S::flip(A7));
  if (int onSeventh = countSquares(rooks & rowMask(seventhRow))) {
    if (onSeventh == 1) {
      t.score += ROOK_ON_SEVENTH;
    } else {
      t.score += ROOKS_ON_SEVENTH;
      const int kingRow = rowOf(enemyKing);
      if (kingRow == rowOf(S::flip(A8))) t.score += ROOKS_ON_SEVENTH_KING_ON_EIGHTH;
      else if (kingRow == seventhRow) t.score += ROOKS_ON_SEVENTH_KING_ON_SEVENTH;
    }
  }

  const int16_t* queenTable = PhaseSelector[PHASE_QUEEN][material];
  for (Bitboard b = pos.pieceBB[S::queen]; b; b &= b - 1) {
    Square sq = BitScan(b);
    Bitboard attacks = queenAttacks(sq, pos.occ);
    t.score += QUEEN_BASE + queenTable[S::tableIndex(sq)] + countSquares(attacks & targets) - 13;
    attackOnKing(attacks, sq, TROPISM_QUEEN);
    ++t.majors;
  }
  return t;
}

template PieceTally PieceActivity<WHITE>(const Position&);
template PieceTally PieceActivity<BLACK>(const Position&);
