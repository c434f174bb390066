// The command loop through the real binary: one command a line with its own arguments, board
// commands.
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

// A line longer than the loop reads is cut: its rest is no command of its own.
TEST(CommandLoop, OverlongLineIsCutAndItsRestDiscarded) {
  auto r = session(std::string(2000, 'z') + " quit\nping 1\nquit\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(afterStartUp(r.out), "Error (unknown command): " + std::string(1023, 'z') + "\npong 1\n");
}

// The arguments of a command are its own: a command that takes none ignores them, an unknown one
// gets a single error line, and none of them is ever read as a command.
TEST(CommandLoop, ArgumentsNeverBecomeCommands) {
  auto r = session("pause quit\negtpath syzygy /tmp\nnew quit\nping 2\nquit\n");
  EXPECT_EQ(afterStartUp(r.out),
            "Error (unknown command): pause\nError (unknown command): egtpath\npong 2\n");
}

TEST(CommandLoop, QuitIsAPrefixCommand) {
  auto r = session("quitting\nnew\n");
  EXPECT_EQ(loggedCommands(r.log), (Tokens{"quitting"}));
  EXPECT_EQ(r.status, 0);
}

// A refused position is told to the user; the moves that follow are refused until a position
// is set up that can be played.
TEST(CommandLoop, RefusedSetboardIsToldAndMovesWaitForAGoodPosition) {
  auto r = session("setboard 8/8/8/8/8/8/8/8 w - - 0 1\ne2e4\n"
                   "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq -\nforce\n"
                   "setboard 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\ne2e4\nping 1\nquit\n");
  EXPECT_EQ(afterStartUp(r.out),
            "tellusererror Illegal position\nIllegal move: e2e4\ntellusererror Illegal position\npong 1\n");
  EXPECT_NE(r.log.find("setboard 8/8/8/8/8/8/8/8 w - - 0 1\n-M: tellusererror Illegal position\n"), std::string::npos);
  // The rest of the setboard line is its argument, never a command.
  EXPECT_EQ(loggedCommands(r.log), (Tokens{"setboard", "e2e4", "setboard", "force", "setboard", "e2e4", "ping", "quit"}));
}

TEST(CommandLoop, AcceptedSetboardLogsNoRefusal) {
  auto r = session("setboard 4k3/8/8/8/8/8/8/4K3 w - - 0 1\nquit\n");
  EXPECT_EQ(r.log.find("tellusererror"), std::string::npos);
  EXPECT_NE(r.log.find("setboard 4k3/8/8/8/8/8/8/4K3 w - - 0 1\n"), std::string::npos);
}

TEST(CommandLoop, OverlongSetboardLineIsCutAndItsRestDiscarded) {
  std::string line = "setboard 4k3/8/8/8/8/8/8/4K3 w - - 0 1 " + std::string(1400, 'q') + " quit\n";
  auto r = session(line + "white\nquit\n");
  EXPECT_EQ(loggedCommands(r.log), (Tokens{"setboard", "white", "quit"}));
  EXPECT_EQ(r.status, 0);
}

TEST(CommandLoop, ArgumentsAreReadAndLogged) {
  auto r = session("time 30000 otim 29000\nlevel 40 5 0\nbenchmark x 3\nbenchmarkspeed y\n"
                   "pgn2game a.pgn b.game\nperft\nquit\n");
  EXPECT_EQ(loggedCommands(r.log), (Tokens{"time", "level", "benchmark", "benchmarkspeed", "pgn2game",
                                           "perft", "quit"}));
  EXPECT_NE(r.log.find("::cmd:: time 30000 otim 29000\n"), std::string::npos);
  EXPECT_NE(r.log.find("::cmd:: level 40 5 0\n"), std::string::npos);
  EXPECT_EQ(afterStartUp(r.out),
            "Define __STAT\nDefine __STAT\nCannot open PGN input file: 'a.pgn'\n"
            "ply\tduration\tnodes\ntotal nodes: 0\n(total moves[32]: 0)\n");
}

// "time" and "otim" are commands of their own, in either order; a clock that cannot be read is
// refused, and the next command is read as usual.
TEST(CommandLoop, TimeAndOtimAreSeparateCommands) {
  auto r = session("otim 400\ntime 500\ntimex 500 otim 400\ntime -100\nping 1\notim\ntime\nping 2\nquit\n");
  EXPECT_EQ(loggedCommands(r.log), (Tokens{"otim", "time", "timex", "time", "ping", "otim", "time", "ping", "quit"}));
  EXPECT_EQ(afterStartUp(r.out), "pong 1\nError (bad argument): otim \nError (bad argument): time \npong 2\n");
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
