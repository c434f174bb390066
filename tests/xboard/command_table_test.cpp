// The xboard dispatch table: prefix and exact commands, and the typed tools beside it.
#include <gtest/gtest.h>

#include <string>

#include "driver/tool_commands.h"
#include "xboard/xboard.h"

namespace {

std::string commandOf(const char* word) {
  if (const xboard::Command* command = xboard::FrontEnd::find(word)) return command->name;
  return IsToolCommand(word) ? std::string("tool ") + word : "<none>";
}

TEST(CommandTable, PrefixCommandsTakeLongerWords) {
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
  EXPECT_EQ(commandOf("timex"), "time");
}

TEST(CommandTable, ExactCommandsRejectLongerWords) {
  EXPECT_EQ(commandOf("easy"), "easy");
  EXPECT_EQ(commandOf("easyx"), "<none>");
  EXPECT_EQ(commandOf("hardly"), "<none>");
  EXPECT_EQ(commandOf("evaluate"), "<none>");
  EXPECT_EQ(commandOf("tests"), "<none>");
  EXPECT_EQ(commandOf("perft"), "tool perft");
  EXPECT_EQ(commandOf("perft5"), "<none>");
  EXPECT_EQ(commandOf("e2e4"), "<none>");  // moves are told apart before the table
}

TEST(CommandTable, SimilarToolNamesAreToldApart) {
  EXPECT_EQ(commandOf("dbshow"), "tool dbshow");
  EXPECT_EQ(commandOf("dbshowlin"), "tool dbshowlin");
  EXPECT_EQ(commandOf("pgn2pos"), "tool pgn2pos");
  EXPECT_EQ(commandOf("pgn2game"), "tool pgn2game");
  EXPECT_EQ(commandOf("benchmark"), "tool benchmark");
  EXPECT_EQ(commandOf("benchmarkspeed"), "tool benchmarkspeed");
  EXPECT_EQ(commandOf("Quit"), "<none>");  // commands are case-sensitive
}

// Commands that change the game or how the engine plays never run beside a search; only those
// that leave both alone are answered during one.
TEST(CommandTable, KindsOfTheCommandsASearchMeets) {
  using xboard::CommandKind;
  for (const char* word : {"ping", "post", "nopost", "hint", "otim", "time", ".", "?", "draw"})
    EXPECT_EQ(xboard::FrontEnd::find(word)->kind, CommandKind::AT_ONCE) << word;
  for (const char* word : {"force", "quit"}) EXPECT_EQ(xboard::FrontEnd::find(word)->kind, CommandKind::STOP) << word;
  for (const char* word : {"new", "setboard", "undo", "remove", "go", "analyze", "exit", "level", "st", "sd", "easy", "hard"})
    EXPECT_NE(xboard::FrontEnd::find(word)->kind, CommandKind::AT_ONCE) << word;
}

}  // namespace
