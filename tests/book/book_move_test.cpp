#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "book/book_move.h"
#include "book/book_probe.h"
#include "book/book_test_files.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"

namespace {

// A fixture's position and books; the books are written into its scratch directory.
class BookMove : public BookFixture {
 protected:
  // The key of the position after a coordinate move (legal or not).
  HashKey keyAfter(const char* text) {
    Move m = ParseCoordinateMove(pos, text);
    EXPECT_NE(m, 0) << text;
    makeMove(pos, m);
    HashKey key = pos.hashKey;
    unmakeMove(pos, m);
    return key;
  }
  std::string bookMoveText() {
    char text[8] = "";
    Move m = getBookMove(pos, *books);
    if (m) MoveToText(m, text);
    return text;
  }
  Position pos;
};

TEST_F(BookMove, DrawsFromTheMainBookAndLeavesThePositionAlone) {
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  writeBook(dir, "", {keyAfter("e2e4"), keyAfter("d2d4")}, {pos.hashKey});
  ASSERT_TRUE(loadBook(books->main, dir.path().c_str()));
  const Position before = pos;
  std::set<std::string> seen;
  for (int i = 0; i < 5; ++i) seen.insert(bookMoveText());
  EXPECT_TRUE(seen == std::set<std::string>({"e2e4"}) || seen == std::set<std::string>({"d2d4"}) ||
              seen == std::set<std::string>({"e2e4", "d2d4"}));
  EXPECT_EQ(pos.hashKey, before.hashKey);
  EXPECT_EQ(pos.sideToMove, WHITE);
  EXPECT_EQ(pos.historyTop - pos.history, 0);
  EXPECT_EQ(0, std::memcmp(pos.board, before.board, sizeof pos.board));

  // Once the book move is played, the position on the board is in the main book.
  ASSERT_TRUE(MakeRealMove(pos, getBookMove(pos, *books)));
  testing::internal::CaptureStdout();
  ShowBookPosition(*books, pos);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "YES\n2: NO\n");
}

TEST_F(BookMove, SecondBookCandidatesWinAndNeedTheMainBookSide) {
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  writeBook(dir, "", {keyAfter("e2e4"), keyAfter("d2d4")}, {});
  writeBook(dir, "2/", {keyAfter("g1f3")}, {});
  ASSERT_TRUE(LoadBooks(*books, dir.path().c_str()));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(bookMoveText(), "g1f3");

  // Main book side for black to move empty (a 0-byte record file): no move, and no retry.
  writeBookSide(dir, "", BLACK, {});
  ASSERT_TRUE(LoadBooks(*books, dir.path().c_str()));
  EXPECT_EQ(getBookMove(pos, *books), 0);
  EXPECT_EQ(books->main.path[0], '\0');
}

TEST_F(BookMove, IllegalMovesNeverLeadIntoTheBook) {
  // The bishop is pinned: e2d3 is pseudo-legal only.
  ASSERT_TRUE(SetupPosition(pos, "4k3/4r3/8/8/8/8/4B3/4K3 w - -"));
  writeBook(dir, "", {keyAfter("e2d3")}, {});
  ASSERT_TRUE(loadBook(books->main, dir.path().c_str()));
  EXPECT_EQ(getBookMove(pos, *books), 0);

  writeBook(dir, "", {keyAfter("e2d3"), keyAfter("e1f1")}, {});
  ASSERT_TRUE(loadBook(books->main, dir.path().c_str()));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(bookMoveText(), "e1f1");

  // Castling across f1, which the rook attacks.
  ASSERT_TRUE(SetupPosition(pos, "4kr2/8/8/8/8/8/8/4K2R w K -"));
  writeBook(dir, "", {keyAfter("e1g1")}, {});
  ASSERT_TRUE(loadBook(books->main, dir.path().c_str()));
  EXPECT_EQ(getBookMove(pos, *books), 0);
}

TEST_F(BookMove, InCheckOnlyEvasionsAreOffered) {
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/P3r3/4K3 w - -"));
  writeBook(dir, "", {keyAfter("e1e2"), keyAfter("a2a3")}, {});
  ASSERT_TRUE(loadBook(books->main, dir.path().c_str()));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(bookMoveText(), "e1e2");
}

TEST_F(BookMove, FailedStartUpLoadIsRetriedFromTheColourDirectory) {
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  writeBook(dir, "mw/", {keyAfter("c2c4")}, {});
  writeBook(dir, "mb/", {keyAfter("b2b3")}, {});
  EXPECT_FALSE(LoadBooks(*books, dir.path().c_str()));
  EXPECT_EQ(bookMoveText(), "c2c4");  // the engine plays white
  EXPECT_EQ(books->main.path[0], '\0');
  EXPECT_EQ(books->second.path[0], '\0');  // tried once as well, from "2/mw/", and given up
}

}  // namespace
