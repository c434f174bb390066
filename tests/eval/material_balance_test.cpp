// Material-imbalance corrections, each checked as the difference between two positions that
// differ only by the pieces in question. Tables: knight and rook set 2 (totalMaterial <= 70).
#include "eval_helpers.h"

namespace {

using MaterialBalanceTest = EvalTest;

TEST_F(MaterialBalanceTest, RookAndKnightAgainstRookGainsAPiece) {
  // The knight on h3 blocks no line and stays far from the black king. Its own value is
  // 314 + table(h3) -9 + 6 pawns = 311; minors +1, majors 0, no queens: +100.
  // totalMaterial 19 and 16: the same king and pawn tables.
  int with = eval("r5k1/ppp5/8/8/8/7N/PPP5/R5K1 w - -");
  int without = eval("r5k1/ppp5/8/8/8/8/PPP5/R5K1 w - -");
  EXPECT_EQ(with - without, 311 + 100);
}

TEST_F(MaterialBalanceTest, ExchangeUpAddsSixty) {
  // Rook e1: 500 + table 1 + open file 20 + 2 * 12 squares - 14 = 531.
  // Knight b8 (black, table g1 -14): 314 - 14 + 6 pawns = 306. majors 1, minors -1: +60.
  // totalMaterial 14 and 6: king and pawn tables D in both.
  int exchange = eval("1n4k1/ppp5/8/8/8/8/PPP5/4R1K1 w - -");
  int neither = eval("6k1/ppp5/8/8/8/8/PPP5/6K1 w - -");
  EXPECT_EQ(exchange - neither, 531 - 306 + 60);
}

TEST_F(MaterialBalanceTest, RookAgainstTwoMinorsLosesAPiece) {
  // A second black knight on c8 (table f1 -8, 8 pawns): 314 - 8 + 8 = 314 more for Black, and
  // the correction goes from +60 (minors -1) to -100 (minors -2). totalMaterial 16 and 19.
  int twoMinors = eval("1nn3k1/pppp4/8/8/8/8/PPPP4/4R1K1 w - -");
  int oneMinor = eval("1n4k1/pppp4/8/8/8/8/PPPP4/4R1K1 w - -");
  EXPECT_EQ(twoMinors - oneMinor, -314 - 100 - 60);
}

TEST_F(MaterialBalanceTest, NoCorrectionWhileBothSidesHaveLessThanARook) {
  // Bishop and pawn against pawn: minors +1 would be worth +100, but both sides hold fewer
  // than 5 units of pieces. Bishop d3 (table 8, 9 squares): 325 + 8 - 2 pawns + 45 - 24 = 352.
  int bishop = eval("4k3/4p3/8/8/8/3B4/4P3/4K3 w - -");
  int pawnsOnly = eval("4k3/4p3/8/8/8/8/4P3/4K3 w - -");
  EXPECT_EQ(bishop - pawnsOnly, 352);
}

}  // namespace
