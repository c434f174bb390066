#include <gtest/gtest.h>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "driver/game_position.h"

namespace {

const char* const StartEpd = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - ";

TEST(EpdSetup, BestAndAvoidMovesAreReadAsSan) {
  ASSERT_TRUE(SetupGamePosition((std::string(StartEpd) + "bm e4; id \"x\";").c_str()));
  EXPECT_EQ(pos.epdBestMove, makeMoveWord(E2, E4, QUIET));
  EXPECT_EQ(pos.epdAvoidMove, 0);
  ASSERT_TRUE(SetupGamePosition((std::string(StartEpd) + "am Nf3;").c_str()));
  EXPECT_EQ(pos.epdAvoidMove, makeMoveWord(G1, F3, QUIET));
  EXPECT_EQ(pos.epdBestMove, 0);
  // The move is read in the position set up, here with black to move.
  ASSERT_TRUE(SetupGamePosition("4k2r/8/8/8/8/8/8/4K3 b k - bm O-O;"));
  EXPECT_EQ(pos.epdBestMove, 0xC106);
}

TEST(EpdSetup, MoveTextEndingTheLineIsNotRecorded) {
  testing::internal::CaptureStdout();
  EXPECT_TRUE(SetupGamePosition((std::string(StartEpd) + "bm e4").c_str()));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(pos.epdBestMove, 0);
}

TEST(EpdSetup, UnrecognisedMoveWarnsAndLeavesThePositionSetUp) {
  testing::internal::CaptureStdout();
  EXPECT_FALSE(SetupGamePosition("4k3/8/8/8/8/8/8/4K2R w - - bm Qh5;"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning cannot recognize move: Qh5\r\n");
  EXPECT_EQ(pos.epdBestMove, 0);
  EXPECT_EQ(pos.board[H1], WROOK);
  EXPECT_EQ(pos.kingSquare[BLACK], E8);
  EXPECT_EQ(pos.plyCount, 1);
  testing::internal::CaptureStdout();
  EXPECT_FALSE(SetupGamePosition("4k3/8/8/8/8/8/8/4K2R w - - am O-O;"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning cannot recognize move: O-O\r\n");
  EXPECT_EQ(pos.epdAvoidMove, 0);
}

}  // namespace
