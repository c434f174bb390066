// King shelter, as the difference between a castled king and the same king on its home square.
// Both sides hold at most 13 units of pieces, so no king-attack term depends on the king's file.
// totalMaterial 36..46: king table C (g1 -6, b1 -6, e1 -2, d1 -2).
#include "eval_helpers.h"

namespace {

TEST(KingShelterTest, PawnsInFrontOfTheCastledKing) {
  // Black has a queen, so each of f2, g2, h2 is worth 12: -6 + 2 + 3 * 12.
  int castled = EvalFen("6k1/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/6K1 w - -");
  int central = EvalFen("6k1/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/4K3 w - -");
  EXPECT_EQ(castled - central, -6 + 2 + 36);
  // A pawn on h3 adds half a unit.
  castled = EvalFen("6k1/ppp2ppp/2n5/3q4/3Q4/2N4P/PPP2PPP/6K1 w - -");
  central = EvalFen("6k1/ppp2ppp/2n5/3q4/3Q4/2N4P/PPP2PPP/4K3 w - -");
  EXPECT_EQ(castled - central, -6 + 2 + 36 + 6);
}

TEST(KingShelterTest, RookStillInTheCornerCancelsTheShelter) {
  // Rook h1: 0 free squares beside the king on g1, 2 (g1, f1) beside the king on e1. White's
  // attack on Black does not change: the rook reaches nothing near g8.
  int castled = EvalFen("6k1/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/6KR w - -");
  int central = EvalFen("6k1/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/4K2R w - -");
  EXPECT_EQ(castled - central, (-6 + 2) + 2 * (0 - 2));
}

TEST(KingShelterTest, QueenSideShelterAgainstNoQueen) {
  // Black has no queen: each of a2, b2, c2 is worth 3, a pawn on b3 half of 3 (1).
  int castled = EvalFen("4r1k1/ppp1rppp/2n5/8/4Q3/2N5/PPP2PPP/1K6 w - -");
  int central = EvalFen("4r1k1/ppp1rppp/2n5/8/4Q3/2N5/PPP2PPP/3K4 w - -");
  EXPECT_EQ(castled - central, -6 + 2 + 9);
  castled = EvalFen("4r1k1/ppp1rppp/2n5/8/4Q3/1PN5/PPP2PPP/1K6 w - -");
  central = EvalFen("4r1k1/ppp1rppp/2n5/8/4Q3/1PN5/PPP2PPP/3K4 w - -");
  EXPECT_EQ(castled - central, -6 + 2 + 9 + 1);
}

TEST(KingShelterTest, BlackShelterCountsAgainstWhite) {
  // The first position turned upside down, Black to move: the same difference for Black.
  int castled = EvalFen("6k1/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/6K1 b - -");
  int central = EvalFen("4k3/ppp2ppp/2n5/3q4/3Q4/2N5/PPP2PPP/6K1 b - -");
  EXPECT_EQ(castled - central, -6 + 2 + 36);
}

}  // namespace
