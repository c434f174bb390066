// Searches on two threads through the real binary, in both protocols: the commands a front end
// sends during a search are answered at once, stop and ponder hit end the search with one legal
// move, and nothing is left running. Under ThreadSanitizer any race fails these (the engine's
// standard error must stay empty).
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "e2e/harness.h"
#include "e2e/session.h"

namespace {

using e2e::Session;

const char* const MIDDLEGAME = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8";

TEST(TwoThreads, UciSearchesAnswerTheFrontEndAndEndCleanly) {
  Session s("", "uci\nsetoption name Threads value 2\nsetoption name Hash value 8\nisready\n");
  ASSERT_FALSE(s.waitFor("readyok\n").empty()) << s.out();
  s.send(std::string("position fen ") + MIDDLEGAME + "\ngo infinite\n");
  ASSERT_FALSE(s.waitFor("info depth 6 ").empty()) << s.out();
  s.send("isready\n");
  ASSERT_FALSE(s.waitFor("readyok\n", 5).empty()) << s.out();
  s.send("stop\n");
  ASSERT_FALSE(s.waitFor("bestmove [a-h][1-8][a-h][1-8]").empty()) << s.out();
  // Pondering on two threads, then the ponder hit on a clock.
  s.send(std::string("position fen ") + MIDDLEGAME + " moves a2a3 a7a6\ngo ponder wtime 2000 btime 2000\n");
  ASSERT_FALSE(s.waitFor("info depth 4 ").empty()) << s.out();
  s.send("ponderhit\n");
  ASSERT_FALSE(s.waitFor("bestmove [a-h][1-8][a-h][1-8]", 5).empty()) << s.out();
  // A timed search on two threads.
  s.send("go movetime 300\n");
  ASSERT_FALSE(s.waitFor("bestmove").empty()) << s.out();
  EXPECT_TRUE(s.quit());
}

// The first line of a search came before the helper thread had cleared its count, so it showed
// the helper's nodes of the search before and the next line fewer.
TEST(TwoThreads, NodeCountsNeverFallWithinASearch) {
  Session s("", "uci\nsetoption name Threads value 2\nisready\n");
  ASSERT_FALSE(s.waitFor("readyok\n").empty()) << s.out();
  const std::regex nodes(" nodes ([0-9]+)");
  std::string moves;
  for (int search = 0; search < 4; ++search) {
    s.send(std::string("position fen ") + MIDDLEGAME + (moves.empty() ? "" : " moves" + moves) + "\ngo movetime 300\n");
    const size_t start = s.mark();
    const std::string best = s.waitFor("bestmove ([a-h][1-8][a-h][1-8][qrbn]?)");
    ASSERT_FALSE(best.empty()) << s.out();
    moves += " " + best.substr(9);
    const std::string lines = s.out().substr(start, s.mark() - start);
    unsigned long long last = 0;
    for (std::sregex_iterator i(lines.begin(), lines.end(), nodes), end; i != end; ++i) {
      const unsigned long long n = std::stoull((*i)[1]);
      EXPECT_GE(n, last) << "search " << search << ":\n" << lines;
      last = n;
    }
    EXPECT_GT(last, 0u) << lines;
  }
  EXPECT_TRUE(s.quit());
}

TEST(TwoThreads, XboardGameAndAnalysisWithPingsAndPondering) {
  Session s;
  s.send("new\ncores 2\nmemory 32\nhard\npost\nlevel 0 1 0\ntime 3000 otim 3000\ne2e4\nping 1\n");
  ASSERT_FALSE(s.waitFor("move \\S+\npong 1\n").empty()) << s.out();
  ASSERT_TRUE(s.waitForLog("-ponder move: ")) << s.log();
  s.send("ping 2\n");
  ASSERT_FALSE(s.waitFor("pong 2\n", 5).empty()) << s.out();
  s.send("force\nanalyze\n.\n");
  ASSERT_FALSE(s.waitFor("stat01: ").empty()) << s.out();
  s.send("exit\nping 3\n");
  ASSERT_FALSE(s.waitFor("pong 3\n", 5).empty()) << s.out();
  EXPECT_EQ(s.out().find("Error"), std::string::npos) << s.out();
  EXPECT_TRUE(s.quit());
}

}  // namespace
