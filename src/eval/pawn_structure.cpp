#include "eval/pawn_structure.h"

#include "board/phase_tables.h"
#include "board/position.h"
#include "board/tables.h"
#include "eval/colour_view.h"
#include "eval/pawn_cache.h"
#include "eval/piece_tables.h"

namespace {

// One colour's pawn terms, positive when good for that colour.
template <Colour C>
int pawnTerms(const Position& pos, const int16_t* table) {
  using S = ColourView<C>;
  const Bitboard own = pos.pieceBB[S::pawn], enemy = pos.pieceBB[S::enemyPawn];
  int score = 0;
  for (Bitboard b = own; b; b &= b - 1) {
    Square sq = BitScan(b);
    score += table[S::tableIndex(sq)] + 100;
    bool passed = !(enemy & S::passedMask[sq]);
    if (own & FileMaskExcl[sq]) {
      score -= 8;
      if (own & S::frontSpan[sq]) passed = false;  // only the front pawn of a doubled pair is passed
    }
    if (passed) score += 16 * S::rank(sq);
    bool isolated = !(own & AdjacentFiles[sq]);
    if (isolated) {
      score -= (enemy & S::frontSpan[sq]) ? 16 : 22;
    } else if (!passed && S::rank(sq) < 6) {
      // Lever: enemy pawns attacked by this one, against our pawns defending it.
      Bitboard attacked = enemy & S::pawnAttacks[sq];
      if (attacked) {
        int k = PopCount(attacked) == 2 ? 3 : 2;
        int d = PopCount(own & S::pawnDefenders[sq]);
        score -= 8 * (k - d);
      }
    }
  }
  return score;
}

}  // namespace

uint32_t PawnCacheKey(const Position& pos) {
  static constexpr uint32_t TableSalt[4] = {0, 0x9E3779B9u, 0x7F4A7C15u, 0xF39CC060u};
  const int16_t* table = PhaseSelector[PHASE_PAWN][pos.totalMaterial];
  int phase = table == PawnTableA ? 0 : table == PawnTableB ? 1 : table == PawnTableC ? 2 : 3;
  return pos.pawnKey ^ TableSalt[phase];
}

int PawnStructureScore(const Position& pos, PawnCache& cache) {
  const uint32_t key = PawnCacheKey(pos);
  int score;
  if (cache.probe(key, score)) return score;
  const int16_t* table = PhaseSelector[PHASE_PAWN][pos.totalMaterial];
  score = pawnTerms<WHITE>(pos, table) - pawnTerms<BLACK>(pos, table);
  cache.store(key, score);
  return score;
}
