// King shelter, as the difference between a castled king and the same king on its home square.
// Both sides hold at most 13 units of pieces, so no king-attack term depends on the king's file.
// totalMaterial 36..46: king table C (g1 -6, b1 -6, e1 -2, d1 -2).
#include "eval/king_safety.h"
#include "eval/pawn_structure.h"
#include "eval_helpers.h"

namespace {

using KingShelterTest = EvalTest;

TEST_F(KingShelterTest, PawnsInFrontOfTheCastledKing) {
  // Black has a queen, so each of f2, g2, h2 is worth 12: -6 + 2 + 3 * 12.
  int castled = eval("6k1/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/6K1 w - -");
  int central = eval("6k1/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/4K3 w - -");
  EXPECT_EQ(castled - central, -6 + 2 + 36);
  // A pawn on h3 adds half a unit.
  castled = eval("6k1/ppp2ppp/2n5/3q4/3Q4/2N4P/PPP2PPP/6K1 w - -");
  central = eval("6k1/ppp2ppp/2n5/3q4/3Q4/2N4P/PPP2PPP/4K3 w - -");
  EXPECT_EQ(castled - central, -6 + 2 + 36 + 6);
}

TEST_F(KingShelterTest, RookStillInTheCornerCancelsTheShelter) {
  // Rook h1: 0 free squares beside the king on g1, 2 (g1, f1) beside the king on e1. White's
  // attack on Black does not change: the rook reaches nothing near g8.
  int castled = eval("6k1/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/6KR w - -");
  int central = eval("6k1/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/4K2R w - -");
  EXPECT_EQ(castled - central, (-6 + 2) + 2 * (0 - 2));
}

TEST_F(KingShelterTest, QueenSideShelterAgainstNoQueen) {
  // Black has no queen: each of a2, b2, c2 is worth 3, a pawn on b3 half of 3 (1).
  int castled = eval("4r1k1/ppp1rppp/2n5/8/4Q3/2N5/PPP2PPP/1K6 w - -");
  int central = eval("4r1k1/ppp1rppp/2n5/8/4Q3/2N5/PPP2PPP/3K4 w - -");
  EXPECT_EQ(castled - central, -6 + 2 + 9);
  castled = eval("4r1k1/ppp1rppp/2n5/8/4Q3/1PN5/PPP2PPP/1K6 w - -");
  central = eval("4r1k1/ppp1rppp/2n5/8/4Q3/1PN5/PPP2PPP/3K4 w - -");
  EXPECT_EQ(castled - central, -6 + 2 + 9 + 1);
}

TEST_F(KingShelterTest, BlackShelterCountsAgainstWhite) {
  // The first position turned upside down, Black to move: the same difference for Black.
  int castled = eval("6k1/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/6K1 b - -");
  int central = eval("4k3/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/6K1 b - -");
  EXPECT_EQ(castled - central, -6 + 2 + 36);
}

}  // namespace

namespace {

class KingOpennessTest : public EvalTest {
 protected:
  int blackOpenness(const char* fen) { return setUp(fen) ? KingOpenness<BLACK>(pos) : -1; }
};
using KingAttackTest = EvalTest;

TEST_F(KingOpennessTest, CountsOpenFilesAroundTheKing) {
  // Closed shelter f7 g7 h7: own file 0 + 1, h-file + 1, f-file + 1, White's queen + 1.
  EXPECT_EQ(blackOpenness("6k1/5ppp/8/8/8/8/8/3QK3 w - -"), 4);
  // No pawns: 2 + 2, h-file 3 + 2, f-file 3 + 2, queen 1.
  EXPECT_EQ(blackOpenness("6k1/8/8/8/8/8/8/3QK3 w - -"), 15);
  // King on the h-file, no pawns, no queen: 4, then only the g-file: 3 + 2.
  EXPECT_EQ(blackOpenness("7k/8/8/8/8/8/8/4K3 w - -"), 9);
  // White pawn on g5 only: 2; h7 own: + 1 (count 3 is not above 3); f-file: + 2, then + 2.
  EXPECT_EQ(blackOpenness("6k1/7p/8/6P1/8/8/8/4K3 w - -"), 7);
}

TEST_F(KingAttackTest, QueenNearTheKingCountsThroughTheScale) {
  // Queen g4 against b4: the same table value (1) and 23 free squares each; from g4 it sees g7
  // beside the king (1) at distance 4 (tropism 2): attack count 3, KingAttackScale 8, weighted 1
  // since below 36 units the openness is 0. The rook a2 adds nothing from either side.
  EXPECT_EQ(eval("7k/8/8/8/6Q1/8/R7/7K w - -") - eval("7k/8/8/8/1Q6/8/R7/7K w - -"), 8);
}

TEST_F(KingAttackTest, OpennessOfTheKingWeightsTheAttack) {
  // Black king g8 with f7 g7 h7, against f7 h7 only; no white pawn stands on the f-, g- or
  // h-file. White's queen e6 touches f7 beside the king at distance 2: attack count 1 + 8 = 9,
  // KingAttackScale 35. Openness 1, 2, 3, queen 4 (weight 2) against 2, 4, 6, 8, queen 9
  // (weight 3). Besides the pawn structure, Black also loses 12 of shelter with g7 gone, and its
  // bishop gains 1 with one pawn fewer on the board. totalMaterial 37 and 36: king table C in
  // both; no piece's line passes g7.
  const char* closed = "rrb3k1/5ppp/4Q3/8/8/PPP5/PPPP4/R6K w - -";
  const char* open = "rrb3k1/5p1p/4Q3/8/8/PPP5/PPPP4/R6K w - -";
  int closedScore = eval(closed), closedPawns = PawnStructureScore(pos, *cache);
  int openScore = eval(open), openPawns = PawnStructureScore(pos, *cache);
  EXPECT_EQ((closedScore - openScore) - (closedPawns - openPawns), -12 + 1 + (2 - 3) * 35);
}

TEST_F(KingAttackTest, CountsBeyondTheScaleAreClamped) {
  // Eight queens around a bare king push the attack count far past 63; the score must stay
  // what the colour-flipped position gives, with every table read in bounds.
  const char* fen = "QQQ5/QkQ5/QQQ5/8/8/8/8/7K b - -";
  int score = eval(fen);
  EXPECT_EQ(eval(FlippedFen(pos)), score);
  EXPECT_LT(score, -8000);
}

}  // namespace
