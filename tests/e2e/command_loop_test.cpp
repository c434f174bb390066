// The command loop through the real binary: token handling, argument reading, board commands.
#include <gtest/gtest.h>

#include <string>

#include "e2e/harness.h"

namespace {

using e2e::afterStartUp;
using e2e::loggedCommands;
using e2e::runDorvik;
using Tokens = std::vector<std::string>;

e2e::Result session(const std::string& commands, const char* ini = "") {
  return runDorvik({std::string(e2e::XBOARD_HANDSHAKE) + commands, ini});
}

const std::string EVAL_BOARD =
    "\n8 R . . . . . . . \n7 . . . . . . . . \n6 . . . . . . . . \n5 . . . . . . p . "
    "\n4 . . . . . . . . \n3 b . . . . . . . \n2 . . . . k . . . \n1 K . . . . . . . "
    "\n\n  A B C D E F G H\n";

const std::string TEST_BOARD =
    "\n8 . . r b . r k . \n7 p . . . . p . . \n6 . . n . . . p . \n5 q . . N p P P . "
    "\n4 . . p . . . . . \n3 P . Q . P P . . \n2 . P . R . . . . \n1 . . K . . . . R "
    "\n\n  A B C D E F G H\n";

TEST(CommandLoop, EndOfInputEndsCleanly) {
  auto r = session("new\nwhite");  // no quit, no final newline
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(loggedCommands(r.log), (Tokens{"new", "white"}));
  EXPECT_EQ(afterStartUp(r.out), "");
}

TEST(CommandLoop, EndOfInputDuringHandshake) {
  auto r = runDorvik({"xboard\nprotover"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(loggedCommands(r.log).empty());
}

TEST(CommandLoop, OverlongTokenIsTruncated) {
  auto r = session(std::string(1000, 'z') + " quit\nnew\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(loggedCommands(r.log), (Tokens{std::string(255, 'z'), "quit"}));
}

TEST(CommandLoop, QuitIsAPrefixCommand) {
  auto r = session("quitting\nnew\n");
  EXPECT_EQ(loggedCommands(r.log), (Tokens{"quitting"}));
  EXPECT_EQ(r.status, 0);
}

// The log shows the line as read after the word "setboard", its leading blank included.
TEST(CommandLoop, RefusedSetboardWritesOnlyToTheLog) {
  auto r = session("setboard 8/8/8/8/8/8/8/8 w - - 0 1\nsetboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq -\n"
                   "quit\n");
  EXPECT_EQ(afterStartUp(r.out), "");
  EXPECT_NE(r.log.find("::cmd:: setboard\nsetboard  8/8/8/8/8/8/8/8 w - - 0 1\n-M: tellusererror Illegal position\n"),
            std::string::npos);
  EXPECT_NE(r.log.find("setboard  rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq -\n"
                       "-M: tellusererror Illegal position\n"),
            std::string::npos);
  // The rest of the setboard line is its argument, never a command.
  EXPECT_EQ(loggedCommands(r.log), (Tokens{"setboard", "setboard", "quit"}));
}

TEST(CommandLoop, AcceptedSetboardLogsNoRefusal) {
  auto r = session("setboard 4k3/8/8/8/8/8/8/4K3 w - - 0 1\nquit\n");
  EXPECT_EQ(r.log.find("tellusererror"), std::string::npos);
  EXPECT_NE(r.log.find("setboard  4k3/8/8/8/8/8/8/4K3 w - - 0 1\n"), std::string::npos);
}

TEST(CommandLoop, OverlongSetboardLineIsCutAndItsRestDiscarded) {
  std::string line = "setboard 4k3/8/8/8/8/8/8/4K3 w - - 0 1 " + std::string(400, 'q') + " quit\n";
  auto r = session(line + "white\nquit\n");
  EXPECT_EQ(loggedCommands(r.log), (Tokens{"setboard", "white", "quit"}));
  EXPECT_EQ(r.status, 0);
}

TEST(CommandLoop, ArgumentsAreReadAndLogged) {
  auto r = session("time 30000 otim 29000\nlevel 40 5 0\nbenchmark x 3\nbenchmarkspeed y\n"
                   "pgn2game a.pgn b.game\nperft\nquit\n");
  EXPECT_EQ(loggedCommands(r.log), (Tokens{"time", "level", "benchmark", "benchmarkspeed", "pgn2game",
                                           "perft", "quit"}));
  EXPECT_NE(r.log.find("::cmd:: time\n30000 otim 29000\n"), std::string::npos);
  EXPECT_NE(r.log.find("::cmd:: level\n40 5 0\n"), std::string::npos);
  EXPECT_EQ(afterStartUp(r.out),
            "Define __STAT\nDefine __STAT\nCannot open PGN input file: 'a.pgn'\n"
            "ply\tduration\tnodes\ntotal nodes: 0\n(total moves[32]: 0)\n");
}

TEST(CommandLoop, TimeIsAPrefixCommandTestedBeforeMoves) {
  auto r = session("timex 500 otim 400\notim\n300\nquit\n");
  // "otim" alone later takes its own number.
  EXPECT_EQ(loggedCommands(r.log), (Tokens{"timex", "otim", "quit"}));
  EXPECT_NE(r.log.find("::cmd:: timex\n500 otim 400\n"), std::string::npos);
}

TEST(CommandLoop, EvalAndTestPrintTheirBoards) {
  auto r = session("eval\ntest\nquit\n");
  // The evaluation score line follows the board once the evaluation is part of the engine.
  std::string out = afterStartUp(r.out);
  EXPECT_EQ(out.substr(0, EVAL_BOARD.size()), EVAL_BOARD);
  EXPECT_NE(out.find(TEST_BOARD), std::string::npos);
  EXPECT_EQ(r.status, 0);
}

TEST(CommandLoop, TestProbesTheLoadedBitbasesWithoutPrinting) {
  auto r = session("test\nquit\n", "EGBB_PATH=" DORVIK_EGBB_FIXED_DIR "\n");
  EXPECT_EQ(afterStartUp(r.out), TEST_BOARD);
  EXPECT_EQ(r.status, 0);
}

}  // namespace
