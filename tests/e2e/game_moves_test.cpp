// Moves typed at the command loop and perft, through the real binary.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "e2e/harness.h"

namespace {

using e2e::afterStartUp;
using e2e::runDorvik;

e2e::Result session(const std::string& commands) {
  return runDorvik({std::string(e2e::XBOARD_HANDSHAKE) + commands, ""});
}

TEST(GameMoves, IllegalMovesAreReportedAndTheLoopGoesOn) {
  // a1a1 and e2e5 are no moves; after 1. e4 e5 the king cannot step into the bishop's line.
  auto r = session("new\nforce\na1a1\ne2e5\ne2e4\ne7e5\nf1c4\nd8h4\ne1f2\nf2f3\nquit\n");
  std::string out = afterStartUp(r.out);
  // One line each, as the protocol has it: front ends look for "Illegal move" and take the move back.
  // f2 is attacked by the queen on h4: the king may not go there; and then there is no White piece
  // on f2 for f2f3.
  EXPECT_EQ(out, "Illegal move: a1a1\nIllegal move: e2e5\nIllegal move: e1f2\nIllegal move: f2f3\n");
  // The log keeps the board the move was refused on.
  EXPECT_NE(r.log.find("\n2 P P P P . P P P \n"), std::string::npos);
  EXPECT_NE(r.log.find("*********** ILLEGAL a1a1\n"), std::string::npos);
  EXPECT_EQ(r.status, 0);
}

TEST(GameMoves, PlayedMovesChangeTheGamePosition) {
  // After 1. e4 the pawn on e2 is gone: e2e4 again is refused, e7e5 is Black's move.
  auto r = session("new\nforce\ne2e4\ne2e4\ne7e5\nquit\n");
  std::string out = afterStartUp(r.out);
  EXPECT_EQ(out, "Illegal move: e2e4\n");
  EXPECT_NE(r.log.find("\n2 P P P P . P P P \n1 R N B Q K B N R "), std::string::npos);
}

TEST(GameMoves, PerftPrintsRunningTotalsPerDepth) {
  auto r = session("new\nperft 3\nsetboard 8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -\nperft 2\nquit\n");
  std::string out = afterStartUp(r.out);
  std::regex expected(
      "ply\tduration\tnodes\n1\t[0-9]+\\.[0-9]\t20\n2\t[0-9]+\\.[0-9]\t420\n3\t[0-9]+\\.[0-9]\t9322\n"
      "total nodes: 9762\n\\(total moves\\[32\\]: [0-9]+\\)\n"
      "ply\tduration\tnodes\n1\t[0-9]+\\.[0-9]\t14\n2\t[0-9]+\\.[0-9]\t205\n"
      "total nodes: 219\n\\(total moves\\[32\\]: [0-9]+\\)\n");
  EXPECT_TRUE(std::regex_match(out, expected)) << out;
}

}  // namespace
