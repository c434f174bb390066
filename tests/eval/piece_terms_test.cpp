// Bishop pair, trapped bishops and rook placement, each as the difference between two positions
// that differ only by the feature. Tables: bishop and rook set 2 (totalMaterial <= 70).
#include "board/phase_tables.h"
#include "eval/piece_tables.h"
#include "eval_helpers.h"

namespace {

using BishopTest = EvalTest;
using RookTest = EvalTest;

TEST_F(BishopTest, PairOnBothColoursGainsFifty) {
  // Bishops c1 (dark) and f1 (light) against c1 and f8 (both dark): f1 and f8 share the table
  // value -9 and the same seven free squares, so only the pair bonus differs.
  EXPECT_EQ(eval("8/8/8/k7/7K/8/8/2B2B2 w - -") - eval("5B2/8/8/k7/7K/8/8/2B5 w - -"), 50);
  EXPECT_EQ(eval("2b2b2/8/8/7k/K7/8/8/8 w - -") - eval("2b5/8/8/7k/K7/8/8/5b2 w - -"), -50);
}

TEST_F(BishopTest, BishopShutInByAPawnLosesTwoHundredTen) {
  // Bishop a7 behind the pawn on b6: 325 - 10 - 2 pawns + 5 * 2 squares - 24 = 299, trapped -210.
  // Bishop b8 instead: 325 - 10 - 2 + 5 * 7 - 24 = 324, not trapped (no pawn on c7).
  int trapped = eval("4k3/B7/1p6/8/8/7P/8/7K w - -");
  int free = eval("1B2k3/8/1p6/8/8/7P/8/7K w - -");
  EXPECT_EQ(trapped - free, 299 - 210 - 324);
  // The same for Black, on the board turned upside down, from Black's side.
  EXPECT_EQ(eval("7k/8/7p/8/8/1P6/b7/4K3 b - -") - eval("7k/8/7p/8/8/1P6/8/1b2K3 b - -"),
            299 - 210 - 324);
}

TEST_F(RookTest, OpenFileBeatsHalfOpenFile) {
  // Rook d1, open file: 500 + 1 + 20 + 2 * 13 - 14 = 533.
  // Rook e1, black pawn on e6: 500 + 1 + 8 + 2 * 11 - 14 = 517.
  EXPECT_EQ(eval("6k1/8/4p3/8/8/8/8/3R3K w - -") - eval("6k1/8/4p3/8/8/8/8/4R2K w - -"), 533 - 517);
}

TEST_F(RookTest, RookBehindItsPassedPawn) {
  // Rook e1 behind the passed e4 pawn: 500 + 1 + 20 + 2 * 8 - 14 = 523.
  // Rook e8 in front of it: 500 + 6 + 0 + 2 * 10 - 14 = 512.
  EXPECT_EQ(eval("8/k7/p7/8/4P3/8/8/4R2K w - -") - eval("4R3/k7/p7/8/4P3/8/8/7K w - -"), 523 - 512);
  // A black pawn on d6 stops the e4 pawn being passed: rook e1 gets nothing for the file.
  // Rook e1 then 500 + 1 + 2 * 8 - 14 = 503, rook e8 500 + 6 + 2 * 10 - 14 = 512.
  EXPECT_EQ(eval("8/k7/3p4/8/4P3/8/8/4R2K w - -") - eval("4R3/k7/3p4/8/4P3/8/8/7K w - -"), 503 - 512);
}

TEST_F(RookTest, RooksOnTheSeventhRank) {
  // One rook: d7 (table 12) against d6 (table 5), 14 free squares each: 7 + 18.
  EXPECT_EQ(eval("8/3R4/8/8/7k/8/8/7K w - -") - eval("8/8/3R4/8/7k/8/8/7K w - -"), 7 + 18);
  // Two rooks d7, e7 against d6, e6, 10 free squares each: 2 * 7 + 36, plus 48 with the king
  // on the 8th rank, 18 with the king on the 7th, nothing with it elsewhere.
  EXPECT_EQ(eval("6k1/3RR3/8/8/8/8/8/7K w - -") - eval("6k1/8/3RR3/8/8/8/8/7K w - -"), 14 + 36 + 48);
  // (Black to move: with White to move the king on h7 would stand in check.)
  EXPECT_EQ(eval("8/7k/3RR3/8/8/8/8/7K b - -") - eval("8/3RR2k/8/8/8/8/8/7K b - -"), 14 + 36 + 18);
  EXPECT_EQ(eval("8/3RR3/8/7k/8/8/8/7K w - -") - eval("8/8/3RR3/7k/8/8/8/7K w - -"), 14 + 36);
}

TEST(PieceSquareTables, SelectorsPickByMaterialAndCoverEveryMaterialValue) {
  EXPECT_EQ(PhaseSelector[PHASE_KING][71], KingTableA);
  EXPECT_EQ(PhaseSelector[PHASE_KING][70], KingTableB);
  EXPECT_EQ(PhaseSelector[PHASE_KING][47], KingTableB);
  EXPECT_EQ(PhaseSelector[PHASE_KING][46], KingTableC);
  EXPECT_EQ(PhaseSelector[PHASE_KING][14], KingTableD);
  EXPECT_EQ(PhaseSelector[PHASE_PAWN][63], PawnTableB);
  EXPECT_EQ(PhaseSelector[PHASE_PAWN][62], PawnTableC);
  EXPECT_EQ(PhaseSelector[PHASE_PAWN][15], PawnTableC);
  EXPECT_EQ(PhaseSelector[PHASE_PAWN][14], PawnTableD);
  EXPECT_EQ(PhaseSelector[PHASE_ROOK][70], RookTable2);
  for (int m = 0; m < PHASE_ROWS; ++m)
    for (int t = 0; t < 6; ++t) ASSERT_NE(PhaseSelector[t][m], nullptr);
  EXPECT_EQ(PhaseSelectorByPiece[BQUEEN][255], QueenTable1);
  EXPECT_EQ(PhaseSelectorByPiece[WKNIGHT], PhaseSelectorByPiece[BKNIGHT]);
}

}  // namespace
