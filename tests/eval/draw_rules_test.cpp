// Dead draws and the rule that a lone minor piece cannot win.
#include "eval_helpers.h"

namespace {

using CannotWinTest = EvalTest;
using DeadDrawTest = EvalTest;

TEST_F(DeadDrawTest, TooLittleMaterialScoresZero) {
  // Without the rule bare kings would score the king tables' difference (-9 on d1 against -26
  // on a8), and a lone minor about three pawns.
  EXPECT_EQ(eval("k7/8/8/8/8/8/8/3K4 w - -"), 0);
  EXPECT_EQ(eval("k7/8/8/8/8/8/8/2NK4 w - -"), 0);
  EXPECT_EQ(eval("k7/8/8/8/8/8/8/2NK4 b - -"), 0);
  EXPECT_EQ(eval("kb6/8/8/8/8/8/8/3K4 b - -"), 0);
  EXPECT_EQ(eval("kb6/8/8/8/8/8/8/3K4 w - -"), 0);
}

TEST_F(DeadDrawTest, RookAndMinorAgainstRookScoresZero) {
  EXPECT_EQ(eval("k2r4/8/8/8/8/8/8/2NRK3 w - -"), 0);
  EXPECT_EQ(eval("k2r4/8/8/8/8/8/8/2BRK3 b - -"), 0);
  EXPECT_EQ(eval("k2rn3/8/8/8/8/8/8/3RK3 w - -"), 0);
}

TEST_F(DeadDrawTest, OtherMaterialIsPlayedOn) {
  EXPECT_GT(eval("k2r4/8/8/8/8/8/7P/2NRK3 w - -"), 0);  // a pawn is on the board
  EXPECT_GT(eval("4k3/8/8/8/8/8/8/RRB1K3 w - -"), 0);   // 13 units, but Black has no rook
  EXPECT_GT(eval("k7/8/8/8/8/8/8/1NNK4 w - -"), 0);     // two knights
}

TEST_F(CannotWinTest, SideToMoveWithOnlyAMinorAndNoPawnsScoresZeroWhenAhead) {
  // Knight against pawn: White is ahead, so with White to move the score becomes 0, while Black
  // to move keeps its (negative) score. The same with the colours exchanged.
  EXPECT_EQ(eval("4k3/8/p7/8/4N3/8/8/4K3 w - -"), 0);
  EXPECT_LT(eval("4k3/8/p7/8/4N3/8/8/4K3 b - -"), 0);
  EXPECT_EQ(eval("4k3/8/8/4n3/8/P7/8/4K3 b - -"), 0);
  EXPECT_LT(eval("4k3/8/8/4n3/8/P7/8/4K3 w - -"), 0);
  EXPECT_EQ(eval("4k3/8/p7/8/4B3/8/8/4K3 w - -"), 0);
}

TEST_F(CannotWinTest, PawnsOrARookKeepTheScore) {
  EXPECT_GT(eval("4k3/8/p7/8/4N3/8/7P/4K3 w - -"), 0);
  EXPECT_GT(eval("4k3/8/p7/8/3R4/8/8/4K3 w - -"), 0);
  // Both sides to move see the same position: the scores are opposite.
  EXPECT_EQ(eval("4k3/8/p7/8/4N3/8/7P/4K3 b - -"), -eval("4k3/8/p7/8/4N3/8/7P/4K3 w - -"));
}

}  // namespace
