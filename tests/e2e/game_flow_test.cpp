// The engine's turn through the real binary: moves and result claims, pondering, and the commands
// that reach a running search.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>

#include "e2e/harness.h"
#include "e2e/session.h"

namespace {

using e2e::Session;

// A short search: a third of a second a move.
const char* const SHORT_CLOCK = "st 0.3\n";
// A budget of minutes, so that only a command can end the search in time.
const char* const LONG_CLOCK = "level 0 100 0\ntime 500000 otim 500000\n";
const char* const MIDDLEGAME = "setboard r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8\n";

// Every "move xxxx" the engine sent, in order.
std::vector<std::string> movesSent(const std::string& out) {
  std::vector<std::string> moves;
  static const std::regex re("(^|\n)move (\\S+)\n");
  for (std::sregex_iterator it(out.begin(), out.end(), re), end; it != end; ++it) moves.push_back((*it)[2]);
  return moves;
}

// True when a fresh engine accepts every move of the game from `setup` on in force mode.
::testing::AssertionResult legalGame(const std::string& setup, const std::vector<std::string>& moves) {
  std::string input = std::string(e2e::XBOARD_HANDSHAKE) + setup + "force\n";
  for (const auto& m : moves) input += m + "\n";
  auto r = e2e::runDorvik({input + "quit\n", ""});
  if (r.out.find("Illegal move") != std::string::npos || r.log.find("Illegal") != std::string::npos)
    return ::testing::AssertionFailure() << "refused in:\n" << r.out;
  return ::testing::AssertionSuccess();
}

// The text after `marker` on the last log line that holds it.
std::string lastLogged(const std::string& log, const std::string& marker) {
  size_t at = log.rfind(marker);
  if (at == std::string::npos) return "";
  at += marker.size();
  return log.substr(at, log.find('\n', at) - at);
}

// Runs one "go" on a position and returns everything printed after the setup.
std::string goOn(const std::string& setup) {
  Session s;
  s.send(setup + SHORT_CLOCK + "go\n");
  s.waitFor("\n(move \\S+\n)?[-/012]+ \\{[^}]*\\}\n");
  EXPECT_TRUE(s.quit());
  return e2e::afterStartUp(s.out());
}

// The lines of `out` that are not thinking lines.
std::string protocolLines(const std::string& out) {
  static const std::regex thinking("    \\d+     -?\\d+     \\d+     \\d+  [^\n]*\n");
  return std::regex_replace(out, thinking, "");
}

TEST(Claims, MateInOneIsPlayedAndClaimedForEitherColour) {
  EXPECT_EQ(protocolLines(goOn("setboard 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\n")), "move a1a8\n1-0 {Dorvik mates 1}\n");
  EXPECT_EQ(protocolLines(goOn("setboard r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1\n")), "move a8a1\n0-1 {Dorvik mates 1}\n");
}

TEST(Claims, MatedAndStalematedRootsClaimWithoutMoving) {
  EXPECT_EQ(protocolLines(goOn("setboard R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1\n")), "1-0 {Dorvik mated 0}\n");
  EXPECT_EQ(protocolLines(goOn("setboard 6k1/8/8/8/8/8/5PPP/r5K1 w - - 0 1\n")), "0-1 {Dorvik mated 0}\n");
  EXPECT_EQ(protocolLines(goOn("setboard 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\n")), "1/2-1/2 {Draw by stalemate (1)}\n");
}

TEST(Claims, DrawnRootsAreClaimedBeforeAnySearch) {
  std::string shuffle = "g1f3\ng8f6\nf3g1\nf6g8\n";
  // The start position for the third time, with the engine to move.
  EXPECT_EQ(goOn("new\nforce\n" + shuffle + shuffle), "1/2-1/2 {Draw by 3 fold repetition (2)}\n");
  std::string hundredPlies;
  for (int i = 0; i < 25; ++i) hundredPlies += shuffle;
  EXPECT_EQ(goOn("new\nforce\n" + hundredPlies), "1/2-1/2 {Draw by 50 moves rule (3)}\n");
  EXPECT_EQ(goOn("setboard 4k3/8/8/8/8/8/8/4KN2 w - - 0 1\n"),
            "1/2-1/2 {Draw by insufficient material to mate (4)}\n");
}

TEST(Claims, MoveThatDrawsIsFollowedByItsClaim) {
  // Only taking the rook saves the king's side from a lost ending; it leaves two bare kings.
  EXPECT_EQ(protocolLines(goOn("setboard 4k3/8/8/8/8/8/3r4/4K3 w - - 0 1\n")),
            "move e1d2\n1/2-1/2 {Draw by insufficient material to mate (44)}\n");
}

// The engine answers 1.e4 and then ponders on the reply it expects. Its clock leaves it time for
// the two iterations that give a reply to ponder on, even in a slow build (with 3 s of a game in a
// minute the hard limit was 2 ms).
struct Pondering : ::testing::Test {
  void SetUp() override {
    s.send("new\nhard\nlevel 0 1 0\ntime 1500 otim 1500\ne2e4\n");
    reply = s.waitFor("move \\S+\n");
    ASSERT_FALSE(reply.empty()) << s.out();
    reply = reply.substr(5, reply.size() - 6);
    ASSERT_TRUE(s.waitForLog("-ponder move: ")) << s.log();
    pondered = lastLogged(s.log(), "-ponder move: ");
    ASSERT_EQ(pondered.size(), 4u);
  }
  void TearDown() override { EXPECT_TRUE(s.quit()); }
  Session s;
  std::string reply, pondered;
};

TEST_F(Pondering, PonderHitIsAnswered) {
  s.send(std::string("time 300 otim 300\n") + pondered + "\n");
  std::string second = s.waitFor("move \\S+\n");
  ASSERT_FALSE(second.empty()) << s.out();
  std::string log = s.log();
  EXPECT_TRUE(log.find("--- GOOD PONDER --- cmd:" + pondered) != std::string::npos ||
              log.find("-------- GOOD PONDER") != std::string::npos)
      << log;
  EXPECT_EQ(log.find("BAD PONDER"), std::string::npos);
  EXPECT_TRUE(legalGame("new\n", {"e2e4", reply, pondered, second.substr(5, second.size() - 6)}));
}

TEST_F(Pondering, PonderMissIsAnsweredInTheRealPosition) {
  std::string other = pondered == "g1h3" ? "b1a3" : "g1h3";
  s.send(std::string("time 300 otim 300\n") + other + "\n");
  std::string second = s.waitFor("move \\S+\n");
  ASSERT_FALSE(second.empty()) << s.out();
  std::string log = s.log();
  EXPECT_NE(log.find("-BAD PONDER"), std::string::npos) << log;
  EXPECT_EQ(s.out().find("Illegal"), std::string::npos) << s.out();
  EXPECT_TRUE(legalGame("new\n", {"e2e4", reply, other, second.substr(5, second.size() - 6)}));
}

// A ping while pondering is answered at once, and the pondering goes on to a ponder hit.
TEST_F(Pondering, PingIsAnsweredAtOnceAndPonderingGoesOn) {
  s.send("ping 41\n");
  ASSERT_FALSE(s.waitFor("pong 41\n", 10).empty()) << s.out();
  s.send(std::string("time 300 otim 300\n") + pondered + "\n");
  ASSERT_FALSE(s.waitFor("move \\S+\n").empty()) << s.out();
  EXPECT_EQ(s.log().find("BAD PONDER"), std::string::npos) << s.log();
}

// "remove" while pondering takes the pondered move off before the two plies of the game: the
// user's 1.e4 may be played again, and the engine answers it.
TEST_F(Pondering, RemoveTakesThePonderedMoveOffFirst) {
  s.send("remove\nping 1\n");
  ASSERT_FALSE(s.waitFor("pong 1\n", 10).empty()) << s.out();
  s.send("time 300 otim 300\ne2e4\n");
  std::string again = s.waitFor("move \\S+\n");
  ASSERT_FALSE(again.empty()) << s.out();
  EXPECT_EQ(s.out().find("Illegal"), std::string::npos) << s.out();
  EXPECT_EQ(s.out().find("Error"), std::string::npos) << s.out();
  EXPECT_TRUE(legalGame("new\n", {"e2e4", again.substr(5, again.size() - 6)}));
}

TEST_F(Pondering, ForceTakesThePonderedMoveBack) {
  std::string other = pondered == "g1h3" ? "b1a3" : "g1h3";
  s.send("force\n" + other + "\n" + SHORT_CLOCK + "go\n");
  std::string second = s.waitFor("move \\S+\n");
  ASSERT_FALSE(second.empty()) << s.out();
  EXPECT_EQ(s.out().find("Illegal"), std::string::npos) << s.out();
  EXPECT_TRUE(legalGame("new\n", {"e2e4", reply, other, second.substr(5, second.size() - 6)}));

  // The engine ponders again after that move; a new position and a new game still work.
  ASSERT_TRUE(s.waitForLog("-ponder move: ", 30));
  s.send(std::string("force\n") + MIDDLEGAME + SHORT_CLOCK + "go\n");
  std::string third = s.waitFor("move \\S+\n");
  ASSERT_FALSE(third.empty()) << s.out();
  EXPECT_TRUE(legalGame(MIDDLEGAME, {third.substr(5, third.size() - 6)}));
  s.send(std::string("force\nnew\n") + SHORT_CLOCK + "d2d4\n");
  std::string fourth = s.waitFor("move \\S+\n");
  ASSERT_FALSE(fourth.empty()) << s.out();
  EXPECT_TRUE(legalGame("new\n", {"d2d4", fourth.substr(5, fourth.size() - 6)}));
  EXPECT_EQ(s.out().find("Illegal"), std::string::npos) << s.out();
}

TEST(SearchInput, QuestionMarkMovesAtOnce) {
  Session s;
  s.send(std::string("easy\n") + MIDDLEGAME + LONG_CLOCK + "go\n");
  ASSERT_FALSE(s.waitFor("\n    2     ").empty()) << s.out();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  s.send("?\n");
  // The budget is two and a half minutes: a move within twenty seconds came from the "?".
  std::string move = s.waitFor("move \\S+\n", 20);
  ASSERT_FALSE(move.empty()) << s.out();
  EXPECT_TRUE(legalGame(MIDDLEGAME, {move.substr(5, move.size() - 6)}));
  EXPECT_TRUE(s.quit());
}

// Thinking on its move, the engine answers a ping only once the move is out; the search reads on
// and still obeys "?".
TEST(SearchInput, PingDuringTheEnginesMoveIsAnsweredAfterTheMove) {
  Session s;
  s.send(std::string("easy\n") + MIDDLEGAME + LONG_CLOCK + "go\n");
  ASSERT_FALSE(s.waitFor("\n    3     ").empty()) << s.out();
  s.send("ping 12\n");
  s.drain(0.3);
  EXPECT_EQ(s.out().find("pong"), std::string::npos) << s.out();
  s.send("?\n");
  ASSERT_FALSE(s.waitFor("move \\S+\npong 12\n", 20).empty()) << s.out();
  EXPECT_TRUE(s.quit());
}

TEST(SearchInput, TimeLineShortensTheRunningSearch) {
  Session s;
  // Sent with "go", the time line waits in the input until the search's first look at it.
  s.send(std::string("easy\n") + MIDDLEGAME + LONG_CLOCK + "go\ntime 1 otim 1\n");
  std::string move = s.waitFor("move \\S+\n", 20);
  ASSERT_FALSE(move.empty()) << s.out();
  // The budget of two and a half minutes was replaced while the search ran.
  EXPECT_NE(s.log().find("1 otim 1 [cC]"), std::string::npos);
  EXPECT_TRUE(legalGame(MIDDLEGAME, {move.substr(5, move.size() - 6)}));
  EXPECT_TRUE(s.quit());
}

// A clock of little more than a second for forty moves still gives a legal move, well within it.
TEST(SearchInput, ShortClockStillGivesALegalMoveInTime) {
  Session s;
  s.send(std::string("easy\n") + MIDDLEGAME + "level 40 1 0\ntime 140 otim 140\n");
  const auto start = std::chrono::steady_clock::now();
  s.send("go\n");
  std::string move = s.waitFor("move \\S+\n", 20);
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_FALSE(move.empty()) << s.out();
  EXPECT_LT(took, std::chrono::milliseconds(700)) << s.out();
  EXPECT_TRUE(legalGame(MIDDLEGAME, {move.substr(5, move.size() - 6)}));
  EXPECT_TRUE(s.quit());
}

TEST(SearchInput, ForceAndQuitStopWithoutAMove) {
  {
    Session s;
    s.send(std::string("easy\n") + MIDDLEGAME + LONG_CLOCK + "go\n");
    ASSERT_FALSE(s.waitFor("\n    3     ").empty()) << s.out();
    s.send("force\n");
    ASSERT_TRUE(s.waitForLog("-M: exited StopEngine", 20));
    s.drain(0.5);
    EXPECT_TRUE(movesSent(s.out()).empty()) << s.out();
    // In force mode a move is played silently, and the engine is ready for the next game.
    s.send("a2a3\nnew\n" + std::string(SHORT_CLOCK) + "e2e4\n");
    EXPECT_FALSE(s.waitFor("move \\S+\n").empty()) << s.out();
    EXPECT_EQ(s.out().find("Illegal"), std::string::npos) << s.out();
    EXPECT_TRUE(s.quit());
  }
  Session s;
  s.send(std::string("easy\n") + MIDDLEGAME + LONG_CLOCK + "go\n");
  ASSERT_FALSE(s.waitFor("\n    3     ").empty()) << s.out();
  EXPECT_TRUE(s.quit());
  EXPECT_TRUE(movesSent(s.out()).empty()) << s.out();
}

// The fixed-answer bitbase library: see egbb/fixed_egbb.cpp for what it answers.
std::string fixedBitbases() { return std::string("EGBB_PATH=") + DORVIK_EGBB_FIXED_DIR + "\n"; }

// Searches `fen` for about a quarter second and returns standard output after the setup.
std::string searchOutput(const std::string& fen, const std::string& ini) {
  Session s(ini);
  s.send("easy\nsetboard " + fen + "\ntime 1000 otim 1000\ngo\n");
  EXPECT_FALSE(s.waitFor("move \\S+\n").empty()) << s.out();
  EXPECT_TRUE(s.quit());
  return e2e::afterStartUp(s.out());
}

// "eval" scores from the tables where they cover the position, else statically.
TEST(Bitbases, EvalScoresFromTheTablesWhereTheyCoverThePosition) {
  Session s(fixedBitbases());
  s.send("eval\n");
  // The library's 7250 for this piece set: beyond 7000 it is read as the distance of a win, and
  // this one lies beyond every distance the tables give.
  EXPECT_FALSE(s.waitFor("\negbb score: 7001\n").empty()) << s.out();
  EXPECT_TRUE(s.quit());
  Session plain;
  plain.send("eval\n");
  EXPECT_FALSE(plain.waitFor("\neval score: -?\\d+\n").empty()) << plain.out();
  EXPECT_TRUE(plain.quit());
}

TEST(Bitbases, OnlyTheRootMovesOfTheBestClassAreSearched) {
  // The library calls every move a loss except Qa8 (a win), which a search alone never plays:
  // it leaves the queen to the rook.
  const std::string fen = "1r5k/8/8/8/8/8/Q7/4K3 w - - 0 1";
  std::string out = searchOutput(fen, fixedBitbases());
  EXPECT_NE(out.find("\nmove a2a8\n"), std::string::npos) << out;
  static const std::regex otherFirstMove("    \\d+     -?\\d+     \\d+     \\d+  (?!a2a8)");
  EXPECT_FALSE(std::regex_search(out, otherFirstMove)) << out;
  EXPECT_EQ(searchOutput(fen, "").find("move a2a8"), std::string::npos);
}

TEST(Bitbases, NodeProbeScoreReachesTheRoot) {
  // Every root move leads to a position the library does not know (White to move); deeper in
  // the tree it scores positions with Black to move at 7300, which the engine maps to 7001.
  const std::string fen = "8/4p3/8/8/4k3/8/8/4K3 b - - 0 1";
  static const std::regex probed("\n    \\d+     7001     \\d+     \\d+  ");
  std::string out = searchOutput(fen, fixedBitbases());
  EXPECT_TRUE(std::regex_search(out, probed)) << out;
  out = searchOutput(fen, "");
  EXPECT_FALSE(std::regex_search(out, probed)) << out;
}

}  // namespace
