#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "movegen/make_move.h"
#include "search/pv.h"
#include "search/transtable.h"

namespace {

Move quiet(Square from, Square to) { return makeMoveWord(from, to, QUIET); }

class BuildPvTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SetupPosition(pos, START_FEN)); }

  void store(Move m, int score, int depth, int bound) {
    table.store(pos.hashKey, pos.sideToMove, m, score, depth, bound);
  }

  // Stores, along the line, each move as the table move of the position it is played from,
  // and finally `last` for the position at the end of the line.
  void storeLine(const std::vector<Move>& line, Move last, int lastScore = 0, int lastDepth = 0,
                 int lastBound = BOUND_EXACT) {
    size_t i = 0;
    for (; i < line.size(); ++i) {
      store(line[i], int(10 + i), int(20 - i), BOUND_EXACT);
      makeMove(pos, line[i]);
    }
    store(last, lastScore, lastDepth, lastBound);
    while (i-- > 0) unmakeMove(pos, line[i]);
  }

  // The line as the log shows it; the moves it holds must be the moves the text shows.
  std::string pv(int n, int16_t* score = nullptr) {
    char buffer[PV_BUFFER_SIZE];
    HashKey key = pos.hashKey;
    HistoryEntry* top = pos.historyTop;
    PrincipalVariation line;
    int16_t s = BuildPv(pos, table, n, MOVE_NONE, line, buffer);
    EXPECT_EQ(pos.hashKey, key);  // every move is taken back
    EXPECT_EQ(pos.historyTop, top);
    std::string moves;
    for (int i = 0; i < line.count; ++i) {
      char text[8];
      MoveToText(line.moves[i], text);
      moves += std::string(text) + " ";
    }
    EXPECT_EQ(std::string(buffer).substr(0, moves.size()), moves);
    if (score) *score = s;
    return buffer;
  }

  Position pos;
  TransTable table;

  const std::vector<Move> openLine = {quiet(E2, E4), quiet(E7, E5), quiet(G1, F3)};
};

TEST_F(BuildPvTest, EmptyRequestAndMissingRootEntry) {
  int16_t score = 0;
  EXPECT_EQ(pv(0, &score), "");
  EXPECT_EQ(score, 8190);
  EXPECT_EQ(pv(5, &score), "NOE ");
  EXPECT_EQ(score, 8190);
}

TEST_F(BuildPvTest, FollowsTableMovesUntilAPositionWithoutEntry) {
  storeLine({quiet(E2, E4), quiet(E7, E5)}, quiet(G1, F3));
  int16_t score = 0;
  EXPECT_EQ(pv(12, &score), "e2e4 e7e5 g1f3 NOE ");
  EXPECT_EQ(score, 10);  // the root entry's score
  EXPECT_EQ(pv(2), "e2e4 e7e5 ");
  EXPECT_EQ(pv(1), "e2e4 ");
}

TEST_F(BuildPvTest, MarkersEndTheLineWithTheirTexts) {
  struct Case {
    Move marker;
    int score;
    const char* text;
  };
  const Case cases[] = {
      {MARK_MATED, -8097, "# "},
      {MARK_STALEMATE, 0, "1/2 - 1/2 (stalemate)"},
      {MARK_REPETITION, 0, "1/2 - 1/2 (repetition)"},
      {NULL_MOVE, 3, "NULL"},
      {MARK_STAND_PAT, -37, "QS(-37)"},
      {MARK_BITBASE, 7900, "EGBB"},
  };
  for (const Case& c : cases) {
    table.clear();
    storeLine(openLine, c.marker, c.score);
    EXPECT_EQ(pv(12), std::string("e2e4 e7e5 g1f3 ") + c.text) << std::hex << c.marker;
  }
}

TEST_F(BuildPvTest, UnknownWordsAreReportedWithTheEntryFields) {
  while (table.age() < 7) table.advanceAge();
  storeLine(openLine, 0, 12, 3, BOUND_LOWER);
  EXPECT_EQ(pv(12), "e2e4 e7e5 g1f3 ERROR: 0, d:3, sc:12, st:128 ts:7");
  table.clear();
  while (table.age() < 7) table.advanceAge();
  storeLine({}, 0x3300, -5, 9, BOUND_UPPER);
  EXPECT_EQ(pv(12), "ERROR: 13056, d:9, sc:-5, st:256 ts:7");
}

TEST_F(BuildPvTest, ACycleOfTableMovesIsCutAfterNMoves) {
  storeLine({quiet(G1, F3), quiet(G8, F6), quiet(F3, G1)}, quiet(F6, G8));
  EXPECT_EQ(pv(6), "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 ");
  EXPECT_EQ(pv(40), "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 ");  // PV_MAX_MOVES at most
}

TEST_F(BuildPvTest, AMoveThatDoesNotFitThePositionEndsTheLine) {
  // As a key collision could leave: a move from an empty square, or one that leaves the king in check.
  storeLine({}, quiet(E3, E4), 44);
  int16_t score = 0;
  EXPECT_EQ(pv(12, &score), "");
  EXPECT_EQ(score, 44);
  ASSERT_TRUE(SetupPosition(pos, "4kr2/8/8/8/8/8/8/R3K3 w - - 0 1"));
  storeLine({}, quiet(E1, F1));  // the rook on f8 guards f1
  EXPECT_EQ(pv(12), "");
}

}  // namespace
