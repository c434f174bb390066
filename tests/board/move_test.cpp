// Coordinate notation: parsing against a position, and writing move words.
#include <gtest/gtest.h>

#include <string>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"

namespace {

std::string text(Move m) {
  char buffer[8];
  MoveToText(m, buffer);
  return buffer;
}

TEST(CoordinateMove, QuietCaptureAndEnPassant) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  EXPECT_EQ(ParseCoordinateMove(pos, "e2e4"), 0xD24);
  EXPECT_EQ(ParseCoordinateMove(pos, "g1f3"), makeMoveWord(G1, F3, QUIET));
  EXPECT_EQ(ParseCoordinateMove(pos, "d1d7"), makeMoveWord(D1, D7, CAPTURE));
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/3pP3/8/8/8/4K3 w - d6"));
  EXPECT_EQ(ParseCoordinateMove(pos, "e5d6"), makeMoveWord(E5, D6, EN_PASSANT));
  EXPECT_EQ(ParseCoordinateMove(pos, "e5e6"), makeMoveWord(E5, E6, QUIET));
}

TEST(CoordinateMove, CastlingByRightsAlone) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -"));
  EXPECT_EQ(ParseCoordinateMove(pos, "e1g1"), 0xDF3E);
  EXPECT_EQ(ParseCoordinateMove(pos, "e1c1"), 0xFF3A);
  EXPECT_EQ(ParseCoordinateMove(pos, "e8g8"), 0xC106);
  EXPECT_EQ(ParseCoordinateMove(pos, "e8c8"), 0xE102);
  // The king on e1 is not looked at: the right decides.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/8/R3K2R w K -"));
  pos.board[E1] = EMPTY;
  EXPECT_EQ(ParseCoordinateMove(pos, "e1g1"), 0xDF3E);
  EXPECT_EQ(ParseCoordinateMove(pos, "e1c1"), makeMoveWord(E1, C1, QUIET));  // no queen-side right
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/8/R3K2R w - -"));
  EXPECT_EQ(ParseCoordinateMove(pos, "e1g1"), makeMoveWord(E1, G1, QUIET));
}

TEST(CoordinateMove, Promotions) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "2n5/3PP3/8/8/8/8/8/k3K3 w - -"));
  EXPECT_EQ(ParseCoordinateMove(pos, "e7e8q"), 0x4304);
  EXPECT_EQ(ParseCoordinateMove(pos, "e7e8r"), makeMoveWord(E7, E8, PROMO_R));
  EXPECT_EQ(ParseCoordinateMove(pos, "d7c8n"), makeMoveWord(D7, C8, CAPTURE_PROMO_N));
  EXPECT_EQ(moveType(ParseCoordinateMove(pos, "d7c8n")), 9);
  EXPECT_EQ(ParseCoordinateMove(pos, "d7c8b"), makeMoveWord(D7, C8, CAPTURE_PROMO_B));
  EXPECT_EQ(ParseCoordinateMove(pos, "e7e8Q"), makeMoveWord(E7, E8, QUIET));  // capital: left to validation
  EXPECT_EQ(ParseCoordinateMove(pos, "e7e8"), makeMoveWord(E7, E8, QUIET));
}

TEST(CoordinateMove, MalformedTexts) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  EXPECT_NE(ParseCoordinateMove(pos, "a1a1"), 0);  // well-formed, left to validation
  EXPECT_EQ(ParseCoordinateMove(pos, "e9e4"), 0);
  EXPECT_EQ(ParseCoordinateMove(pos, "i2i4"), 0);
  EXPECT_EQ(ParseCoordinateMove(pos, "e2"), 0);
  EXPECT_EQ(ParseCoordinateMove(pos, ""), 0);
  EXPECT_EQ(ParseCoordinateMove(pos, "E2E4"), 0);
  EXPECT_EQ(ParseCoordinateMove(pos, "e0e4"), 0);
}

TEST(CoordinateMove, WritesMoveWords) {
  EXPECT_EQ(text(0xD24), "e2e4");
  EXPECT_EQ(text(NULL_MOVE), "e8e8");
  EXPECT_EQ(text(0x4304), "e7e8q");
  EXPECT_EQ(text(makeMoveWord(D7, C8, CAPTURE_PROMO_N)), "d7c8n");
  EXPECT_EQ(text(makeMoveWord(B2, A1, CAPTURE_PROMO_B)), "b2a1b");
  EXPECT_EQ(text(makeMoveWord(H2, H1, PROMO_R)), "h2h1r");
  EXPECT_EQ(text(0xC106), "e8g8");
  EXPECT_EQ(text(0xDF3E), "e1g1");
  EXPECT_EQ(text(0xE102), "e8c8");
  EXPECT_EQ(text(0xFF3A), "e1c1");
  // Round trip of every promotion through the parser.
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "1n2k3/P7/8/8/8/8/8/4K3 w - -"));
  for (const char* move : {"a7a8q", "a7a8n", "a7a8r", "a7a8b", "a7b8q", "a7b8n", "a7b8r", "a7b8b"})
    EXPECT_EQ(text(ParseCoordinateMove(pos, move)), move);
}

}  // namespace
