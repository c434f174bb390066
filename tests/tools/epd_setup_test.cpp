// The move of an EPD operation, read as SAN in the position set up with it.
#include <gtest/gtest.h>

#include <string>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "tools/epd_move.h"

namespace {

const char* const StartEpd = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - ";

class EpdSetup : public ::testing::Test {
 protected:
  // Sets the EPD text up and resolves its operation; what ResolveEpdMove answers.
  bool setUp(const std::string& text) {
    EXPECT_TRUE(SetupPosition(pos, text.c_str(), &op)) << text;
    move = Move(0xFFFF);
    return ResolveEpdMove(pos, op, move);
  }
  Position pos;
  EpdOperation op;
  Move move;
};

TEST_F(EpdSetup, BestAndAvoidMovesAreReadAsSan) {
  ASSERT_TRUE(setUp(std::string(StartEpd) + "bm e4; id \"x\";"));
  EXPECT_EQ(op.kind, 'b');
  EXPECT_EQ(move, makeMoveWord(E2, E4, QUIET));
  ASSERT_TRUE(setUp(std::string(StartEpd) + "am Nf3;"));
  EXPECT_EQ(op.kind, 'a');
  EXPECT_EQ(move, makeMoveWord(G1, F3, QUIET));
  // The move is read in the position set up, here with black to move.
  ASSERT_TRUE(setUp("4k2r/8/8/8/8/8/8/4K3 b k - bm O-O;"));
  EXPECT_EQ(move, 0xC106);
}

TEST_F(EpdSetup, MoveTextEndingTheLineIsNotRecorded) {
  testing::internal::CaptureStdout();
  EXPECT_TRUE(setUp(std::string(StartEpd) + "bm e4"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(op.kind, 0);
  EXPECT_EQ(move, 0);
}

TEST_F(EpdSetup, UnrecognisedMoveWarnsAndLeavesThePositionSetUp) {
  testing::internal::CaptureStdout();
  EXPECT_FALSE(setUp("4k3/8/8/8/8/8/8/4K2R w - - bm Qh5;"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning cannot recognize move: Qh5\r\n");
  EXPECT_EQ(move, 0);
  EXPECT_EQ(pos.board[H1], WROOK);
  EXPECT_EQ(pos.kingSquare[BLACK], E8);
  EXPECT_EQ(pos.plyCount, 1);
  EXPECT_EQ(pos.historyTop, pos.history);
  testing::internal::CaptureStdout();
  EXPECT_FALSE(setUp("4k3/8/8/8/8/8/8/4K2R w - - am O-O;"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning cannot recognize move: O-O\r\n");
  EXPECT_EQ(move, 0);
}

}  // namespace
