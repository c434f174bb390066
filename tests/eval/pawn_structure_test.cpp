// Pawn-structure scores worked out from pawn table D (kings and pawns only, totalMaterial <= 14).
// Rows used: 5th rank 18 24 28 30 30 28 24 18, 4th rank 9 12 14 18 18 14 12 9,
// 3rd rank 1 3 1 4 4 1 3 1, 2nd rank 0 0 0 -9 -9 0 0 0. Black reads the board turned round.
#include "eval/pawn_structure.h"
#include "eval_helpers.h"

namespace {

class PawnStructureTest : public EvalTest {
 protected:
  int pawnScore(const char* fen) { return setUp(fen) ? PawnStructureScore(pos, *cache) : 0; }
};

TEST_F(PawnStructureTest, PassedPawn) {
  // d5: 30 + 100, passed on the 5th rank 16 * 4, isolated with nothing in front -22.
  EXPECT_EQ(pawnScore("4k3/8/8/3P4/8/8/8/4K3 w - -"), 30 + 100 + 64 - 22);
  // Black's d4 is the same pawn seen from the other side.
  EXPECT_EQ(pawnScore("4k3/8/8/8/3p4/8/8/4K3 w - -"), -(30 + 100 + 64 - 22));
}

TEST_F(PawnStructureTest, PawnOnAnAdjacentFileStopsThePasser) {
  // White d5 (black c7 guards d6): 30 + 100 - 22. Black c7 (table f2 0): -(0 + 100) + 22, not
  // passed either (d5 stands on its path's neighbour file).
  EXPECT_EQ(pawnScore("4k3/2p5/8/3P4/8/8/8/4K3 w - -"), (30 + 100 - 22) - (100 - 22));
}

TEST_F(PawnStructureTest, DoubledPawnsAndTheirFrontPasser) {
  // d5: 30 + 100 - 8 + 64 - 22; d4 (behind its own pawn, so not passed): 18 + 100 - 8 - 22.
  EXPECT_EQ(pawnScore("4k3/8/8/3P4/3P4/8/8/4K3 w - -"), (30 + 100 - 8 + 64 - 22) + (18 + 100 - 8 - 22));
}

TEST_F(PawnStructureTest, IsolatedPawnsFacingEachOther) {
  // White d4 (18) and black d6 (table e3 4) block each other: isolated on a closed file, -16 each.
  EXPECT_EQ(pawnScore("4k3/8/3p4/8/3P4/8/8/4K3 w - -"), (18 + 100 - 16) - (4 + 100 - 16));
}

TEST_F(PawnStructureTest, LeverAgainstAnEnemyPawn) {
  // d4 attacks e5 with no defender: 8 * (2 - 0) = 16. d4: 18 + 100 - 16; c4 passed: 14 + 100 + 48;
  // black e5 (table d4 18), isolated with open front: -(18 + 100) + 22.
  EXPECT_EQ(pawnScore("4k3/8/8/4p3/2PP4/8/8/4K3 w - -"), (18 + 100 - 16) + (14 + 100 + 48) - (118 - 22));
  // e3 defends d4: the lever costs 8 * (2 - 1); e3 itself 4 + 100; e5's front now holds e3: +16.
  EXPECT_EQ(pawnScore("4k3/8/8/4p3/2PP4/4P3/8/4K3 w - -"),
            (18 + 100 - 8) + (14 + 100 + 48) + (4 + 100) - (118 - 16));
}

}  // namespace
