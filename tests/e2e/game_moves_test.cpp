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

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(GameMoves, IllegalMovesAreReportedAndTheLoopGoesOn) {
  // a1a1 and e2e5 are no moves; after 1. e4 e5 the king cannot step into the bishop's line.
  auto r = session("new\nforce\na1a1\ne2e5\ne2e4\ne7e5\nf1c4\nd8h4\ne1f2\nf2f3\nquit\n");
  std::string out = afterStartUp(r.out);
  EXPECT_EQ(count(out, "Illegal Move: "), 4) << out;
  EXPECT_NE(out.find("Illegal Move: a1a1\n"), std::string::npos);
  EXPECT_NE(out.find("Illegal Move: e2e5\n"), std::string::npos);
  // f2 is attacked by the queen on h4: the king may not go there.
  EXPECT_NE(out.find("Illegal Move: e1f2\n"), std::string::npos);
  // The board is printed with each report, in the position before the refused move.
  EXPECT_NE(out.find("\n2 P P P P . P P P \n"), std::string::npos);
  EXPECT_NE(r.log.find("-----FEN:\trnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -\n"), std::string::npos);
  EXPECT_NE(r.log.find("*********** MakeRealMove ILLEGAL 7736 a1a1\n"), std::string::npos);  // a rook "captures" its own square
  // f2f3 is no move either (no piece of White's on f2 after the refusal); the engine still quits cleanly.
  EXPECT_NE(out.find("Illegal Move: f2f3\n"), std::string::npos);
  EXPECT_EQ(r.status, 0);
}

TEST(GameMoves, PlayedMovesChangeTheGamePosition) {
  // After 1. e4 the pawn on e2 is gone: e2e4 again is refused, e7e5 is Black's move.
  auto r = session("new\nforce\ne2e4\ne2e4\ne7e5\nquit\n");
  std::string out = afterStartUp(r.out);
  EXPECT_EQ(count(out, "Illegal Move: "), 1);
  EXPECT_NE(r.log.find("-----FEN:\trnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3\n"), std::string::npos);
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
