#include "eval/evaluate.h"

#include "board/phase_tables.h"
#include "board/position.h"
#include "board/tables.h"
#include "eval/king_safety.h"
#include "eval/material_balance.h"
#include "eval/pawn_structure.h"
#include "eval/piece_activity.h"

namespace {

constexpr int LONE_QUEEN = 15;

// No pawns, and too little to mate or rook and minor against rook.
bool deadDraw(const Position& pos) {
  if (pos.pawnCount[WHITE] || pos.pawnCount[BLACK]) return false;
  return pos.totalMaterial < 4 ||
         (pos.totalMaterial == 13 && pos.pieceBB[WROOK] && pos.pieceBB[BROOK]);
}

}  // namespace

int16_t Evaluate(const Position& pos, PawnCache& pawnCache) {
  if (deadDraw(pos)) return 0;
  const int material = pos.totalMaterial;

  // Every term is summed in int from White's point of view. Nothing reads the running score
  // before the end, so one conversion gives the same 16-bit wrap-around as wrapping each term.
  const int16_t* kingTable = PhaseSelector[PHASE_KING][material];
  int score = kingTable[pos.kingSquare[WHITE]] - kingTable[63 - pos.kingSquare[BLACK]];

  int whiteOpenness = 0, blackOpenness = 0;
  if (material >= 36) {
    score += KingShelter<WHITE>(pos) - KingShelter<BLACK>(pos);
    whiteOpenness = KingOpenness<WHITE>(pos);
    blackOpenness = KingOpenness<BLACK>(pos);
  }

  if (pos.pieceBB[WPAWN] | pos.pieceBB[BPAWN]) score += PawnStructureScore(pos, pawnCache);

  const PieceTally white = PieceActivity<WHITE>(pos), black = PieceActivity<BLACK>(pos);
  score += white.score - black.score;
  const bool whiteQueen = pos.pieceBB[WQUEEN], blackQueen = pos.pieceBB[BQUEEN];
  if (whiteQueen != blackQueen) score += whiteQueen ? LONE_QUEEN : -LONE_QUEEN;

  score += MaterialImbalance(pos, white.minors - black.minors, white.majors - black.majors);

  if (pos.pieceMaterial[BLACK] > 13) score -= KingAttackValue(whiteOpenness, black.kingAttack);
  if (pos.pieceMaterial[WHITE] > 13) score += KingAttackValue(blackOpenness, white.kingAttack);

  const int16_t whiteView = int16_t(score);
  const int side = pos.sideToMove;
  const int16_t result = side == WHITE ? whiteView : int16_t(-whiteView);
  // The side to move cannot win with a lone minor piece and no pawns.
  if (result > 0 && pos.pawnCount[side] == 0 && pos.pieceMaterial[side] < 5) return 0;
  return result;
}
