#include <gtest/gtest.h>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "board/zobrist.h"
#include "search/draws.h"

namespace {

// A rook each side: never a material draw, and the rook and knight have quiet moves.
constexpr const char* ROOKS = "r3k3/8/8/8/8/8/8/1N2K2R w - -";

class DrawTest_ : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SetupPosition(pos, ROOKS)); }

  // Writes a line of n plies ending at the current position, every entry with its own key and the
  // top entry holding topCount reversible plies (counting down by one per ply below it).
  void line(int n, int topCount) {
    for (int i = 0; i <= n; ++i) {
      pos.history[i].key = 0x5000 + HashKey(i);
      pos.history[i].move = 0;
      pos.history[i].reversibleCount = uint16_t(std::max(topCount - (n - i), 0));
    }
    pos.history[n].key = pos.hashKey;
    pos.historyTop = pos.history + n;
  }

  void repeatAt(int pliesBack, HashKey key) {
    (pos.historyTop - pliesBack)->key = key;
  }

  Position pos;
};

TEST_F(DrawTest_, KingsWithAtMostOneMinorAndNoPawnsAreDrawnWhateverTheCounters) {
  for (const char* fen : {"4k3/8/8/8/8/8/8/4K3 w - -", "4k3/8/8/8/8/8/8/3NK3 w - -",
                          "4k3/8/8/5b2/8/8/8/4K3 b - -"}) {
    ASSERT_TRUE(SetupPosition(pos, fen));
    EXPECT_EQ(DrawTest(pos, 1), MARK_MATERIAL) << fen;
    EXPECT_EQ(DrawTest(pos, 2), MARK_MATERIAL) << fen;
  }
  // Two minors, or one pawn (material 1), are not.
  for (const char* fen : {"4k3/8/8/8/8/8/8/2NNK3 w - -", "4k3/8/8/8/8/8/4P3/4K3 w - -",
                          "4k3/8/8/8/8/8/8/3RK3 w - -"}) {
    ASSERT_TRUE(SetupPosition(pos, fen));
    EXPECT_EQ(DrawTest(pos, 1), 0) << fen;
  }
}

TEST_F(DrawTest_, RepetitionsAreLookedForOnlyFromTheFourthReversiblePly) {
  line(10, 3);
  repeatAt(4, pos.hashKey);
  // The entry four plies back claims a long stretch, but the top's count rules it out.
  (pos.historyTop - 4)->reversibleCount = 40;
  EXPECT_EQ(DrawTest(pos, 1), 0);
  line(10, 4);
  repeatAt(4, pos.hashKey);
  EXPECT_EQ(DrawTest(pos, 1), MARK_REPETITION);
}

TEST_F(DrawTest_, FiftyMoveMarkerFromTheHundredthReversiblePly) {
  line(120, 99);
  EXPECT_EQ(DrawTest(pos, 2), 0);
  line(120, 100);
  EXPECT_EQ(DrawTest(pos, 1), MARK_FIFTY);
  EXPECT_EQ(DrawTest(pos, 2), MARK_FIFTY);
}

TEST_F(DrawTest_, InsideTheSearchOneEarlierOccurrenceIsEnoughAtTheRootTwoAreNeeded) {
  line(30, 20);
  repeatAt(6, pos.hashKey);
  EXPECT_EQ(DrawTest(pos, 1), MARK_REPETITION);
  EXPECT_EQ(DrawTest(pos, 2), 0);
  repeatAt(12, pos.hashKey);
  EXPECT_EQ(DrawTest(pos, 2), MARK_REPETITION);
  // An odd distance means the other side to move: never compared.
  line(30, 20);
  repeatAt(5, pos.hashKey);
  repeatAt(7, pos.hashKey);
  EXPECT_EQ(DrawTest(pos, 1), 0);
}

TEST_F(DrawTest_, TheWalkStopsAtTheLastIrreversibleMove) {
  // Ten reversible plies: the position ten plies back is the first one after a capture; twelve
  // back lies before it.
  line(30, 10);
  repeatAt(12, pos.hashKey);
  EXPECT_EQ(DrawTest(pos, 1), 0);
  repeatAt(10, pos.hashKey);
  EXPECT_EQ(DrawTest(pos, 1), MARK_REPETITION);
}

TEST_F(DrawTest_, TheWalkNeverLeavesTheHistoryStack) {
  // A game whose older history was dropped: the counters claim plies below the first entry.
  line(6, 60);
  pos.history[0].reversibleCount = 54;
  repeatAt(6, pos.hashKey);  // the first entry
  EXPECT_EQ(DrawTest(pos, 1), MARK_REPETITION);
  EXPECT_EQ(DrawTest(pos, 2), 0);
  line(5, 60);
  EXPECT_EQ(DrawTest(pos, 2), 0);
}

class WouldRepeatTest : public DrawTest_ {
 protected:
  static constexpr Move KNIGHT_MOVE = makeMoveWord(B1, C3, QUIET);
  HashKey keyAfterKnightMove() const {
    return pos.hashKey ^ ZobristKeys[WKNIGHT][B1] ^ ZobristKeys[WKNIGHT][C3];
  }
};

TEST_F(WouldRepeatTest, OnlyQuietPieceMovesCanRepeat) {
  line(40, 30);
  HashKey after = keyAfterKnightMove();
  repeatAt(1, after);
  repeatAt(3, after);
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 2);
  EXPECT_EQ(WouldRepeat(pos, makeMoveWord(B1, C3, CAPTURE)), 0);
  EXPECT_EQ(WouldRepeat(pos, makeMoveWord(E1, G1, WHITE_CASTLE_SHORT)), 0);
  // An empty origin is no move at all.
  EXPECT_EQ(WouldRepeat(pos, makeMoveWord(C3, B1, QUIET)), 0);
  ASSERT_TRUE(SetupPosition(pos, "r3k3/8/8/8/8/8/4P3/4K2R w - -"));
  line(40, 30);
  HashKey afterPawn = pos.hashKey ^ ZobristKeys[WPAWN][E2] ^ ZobristKeys[WPAWN][E3];
  repeatAt(1, afterPawn);
  repeatAt(3, afterPawn);
  EXPECT_EQ(WouldRepeat(pos, makeMoveWord(E2, E3, QUIET)), 0);
}

TEST_F(WouldRepeatTest, CountsEarlierOccurrencesOfTheResultingPosition) {
  line(40, 30);
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 0);
  HashKey after = keyAfterKnightMove();
  repeatAt(3, after);  // four plies before the position after the move
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 1);
  repeatAt(9, after);
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 2);
  // Even distances from the top are the other side's positions.
  line(40, 30);
  repeatAt(2, after);
  repeatAt(4, after);
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 0);
}

TEST_F(WouldRepeatTest, ShortAndLongReversibleStretches) {
  HashKey after;
  line(40, 2);  // the move would make the third reversible ply: no test
  after = keyAfterKnightMove();
  repeatAt(1, after);
  repeatAt(3, after);
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 0);
  line(80, 74);  // 75th: searched as usual
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 0);
  line(80, 75);  // 76th
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 1);
  line(120, 99);  // 100th
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 2);
}

TEST_F(WouldRepeatTest, TheWalkStaysInsideTheStretchAndTheStack) {
  line(40, 6);
  HashKey after = keyAfterKnightMove();
  repeatAt(7, after);  // before the last irreversible move
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 0);
  repeatAt(5, after);
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 1);
  line(3, 50);
  pos.history[0].reversibleCount = 47;
  repeatAt(3, after);
  EXPECT_EQ(WouldRepeat(pos, KNIGHT_MOVE), 1);
}

}  // namespace
