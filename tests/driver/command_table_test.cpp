// Dispatch rules of the command loop: prefix and exact commands, moves, side commands.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/fen.h"
#include "board/position.h"
#include "driver/command_loop.h"
#include "driver/engine_state.h"

namespace {

std::string commandOf(const char* token) {
  const CommandEntry* entry = FindCommand(token);
  return entry ? entry->name : "<none>";
}

TEST(CommandTable, PrefixCommandsTakeLongerTokens) {
  EXPECT_EQ(commandOf("gogo"), "go");
  EXPECT_EQ(commandOf("go"), "go");
  EXPECT_EQ(commandOf("g"), "<none>");
  EXPECT_EQ(commandOf("newgame"), "new");
  EXPECT_EQ(commandOf("resultx"), "result");
  EXPECT_EQ(commandOf("levels"), "level");
  EXPECT_EQ(commandOf("forced"), "force");
  EXPECT_EQ(commandOf("setboardx"), "setboard");
  EXPECT_EQ(commandOf("quit!"), "quit");
  EXPECT_EQ(commandOf("whitey"), "white");
  EXPECT_EQ(commandOf("blacks"), "black");
}

TEST(CommandTable, ExactCommandsRejectLongerTokens) {
  EXPECT_EQ(commandOf("easy"), "easy");
  EXPECT_EQ(commandOf("easyx"), "<none>");
  EXPECT_EQ(commandOf("hardly"), "<none>");
  EXPECT_EQ(commandOf("evaluate"), "<none>");
  EXPECT_EQ(commandOf("tests"), "<none>");
  EXPECT_EQ(commandOf("perft"), "perft");
  EXPECT_EQ(commandOf("perft5"), "<none>");
}

TEST(CommandTable, SimilarToolNamesAreToldApart) {
  EXPECT_EQ(commandOf("dbshow"), "dbshow");
  EXPECT_EQ(commandOf("dbshowlin"), "dbshowlin");
  EXPECT_EQ(commandOf("pgn2pos"), "pgn2pos");
  EXPECT_EQ(commandOf("pgn2game"), "pgn2game");
  EXPECT_EQ(commandOf("benchmark"), "benchmark");
  EXPECT_EQ(commandOf("benchmarkspeed"), "benchmarkspeed");
  EXPECT_EQ(commandOf("Quit"), "<none>");  // commands are case-sensitive
}

// Runs commands on the engine's state and puts that state back afterwards.
class Dispatch : public ::testing::Test {
 protected:
  void TearDown() override { driver = saved_; }
  void dispatch(const char* token) {
    std::strcpy(driver.inputToken, token);
    DispatchCommand();
  }
  DriverState saved_ = driver;
};

TEST_F(Dispatch, SideCommandsSetBothSides) {
  ASSERT_TRUE(SetupPosition(START_FEN));
  dispatch("blackx");
  EXPECT_EQ(pos.sideToMove, BLACK);
  EXPECT_EQ(pos.rootSideToMove, BLACK);
  dispatch("white");
  EXPECT_EQ(pos.sideToMove, WHITE);
  EXPECT_EQ(pos.rootSideToMove, WHITE);
}

TEST_F(Dispatch, PonderSwitchesAndNew) {
  dispatch("easy");
  EXPECT_FALSE(driver.ponderEnabled);
  dispatch("hardx");  // exact: ignored
  EXPECT_FALSE(driver.ponderEnabled);
  dispatch("hard");
  EXPECT_TRUE(driver.ponderEnabled);

  ASSERT_TRUE(SetupPosition("4k3/8/8/8/8/8/8/4K3 b - -"));
  driver.engineState = FORCE_MODE;
  dispatch("new");
  EXPECT_EQ(driver.engineState, PLAYING);
  EXPECT_EQ(pos.totalMaterial, 78);
  EXPECT_EQ(pos.sideToMove, WHITE);
}

TEST_F(Dispatch, MoveTokensAreNoCommandsAndQuitEndsTheLoop) {
  ASSERT_TRUE(SetupPosition(START_FEN));
  // A move token is tested before the table and matches no command of it.
  EXPECT_EQ(commandOf("e2e4"), "<none>");
  driver.engineState = FORCE_MODE;
  dispatch("quit");
  EXPECT_EQ(driver.engineState, QUITTING);
}

}  // namespace
