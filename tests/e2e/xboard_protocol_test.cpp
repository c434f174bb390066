// The xboard protocol's commands beyond play through the real binary: analysis, taking moves back,
// the depth and time limits, thinking output, hints and the answers to words it does not know.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "e2e/harness.h"
#include "e2e/session.h"

namespace {

using e2e::afterStartUp;
using e2e::runDorvik;
using e2e::Session;

e2e::Result session(const std::string& commands) {
  return runDorvik({std::string(e2e::XBOARD_HANDSHAKE) + commands, ""});
}

// The thinking lines of `out`: depth and principal variation.
std::vector<std::pair<int, std::string>> thinkingLines(const std::string& out) {
  std::vector<std::pair<int, std::string>> lines;
  static const std::regex re("(^|\n)    (\\d+)     -?\\d+     \\d+     \\d+  ([^\n]*)");
  for (std::sregex_iterator it(out.begin(), out.end(), re), end; it != end; ++it)
    lines.emplace_back(std::stoi((*it)[2]), (*it)[3]);
  return lines;
}

// The principal variation of the next thinking line the engine prints.
std::string nextLine(Session& s) {
  std::string line = s.waitFor("\n    \\d+     -?\\d+     \\d+     \\d+  [^\n]*\n");
  return line.empty() ? "" : thinkingLines(line)[0].second;
}

// Analysis searches every position the game reaches, restarting on a move, "undo" and "new",
// answers ping and "." as it goes, and never plays a move; "exit" ends it.
TEST(Analysis, FollowsTheGameAndNeverMoves) {
  const std::regex whiteMove("^[a-h][12][a-h][1-8]"), blackMove("^[a-h][78][a-h][1-8]");
  Session s;
  s.send("new\npost\nanalyze\n");
  ASSERT_FALSE(s.waitFor("\n    4     ").empty()) << s.out();
  s.send(".\nping 1\n");
  // Twenty moves in the initial position.
  ASSERT_FALSE(s.waitFor("stat01: \\d+ \\d+ \\d+ \\d+ 20\n(.|\n)*pong 1\n", 10).empty()) << s.out();

  // After 1.e4 the lines are Black's, taken back they are White's again; "new" keeps the mode.
  s.send("e2e4\nping 2\n");
  ASSERT_FALSE(s.waitFor("pong 2\n", 10).empty());
  EXPECT_TRUE(std::regex_search(nextLine(s), blackMove)) << s.out();
  s.send("undo\nping 3\n");
  ASSERT_FALSE(s.waitFor("pong 3\n", 10).empty());
  EXPECT_TRUE(std::regex_search(nextLine(s), whiteMove)) << s.out();
  s.send("setboard 4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\nping 4\n");
  ASSERT_FALSE(s.waitFor("pong 4\n", 10).empty());
  EXPECT_TRUE(std::regex_search(nextLine(s), std::regex("^e8"))) << s.out();
  s.send("new\nping 5\n");
  ASSERT_FALSE(s.waitFor("pong 5\n", 10).empty());
  EXPECT_TRUE(std::regex_search(nextLine(s), whiteMove)) << s.out();

  s.send("exit\nping 6\n");
  ASSERT_FALSE(s.waitFor("pong 6\n", 10).empty());
  s.drain(0.5);
  EXPECT_EQ(s.sinceMark(), "");  // no more thinking once analysis has ended
  EXPECT_EQ(s.out().find("move "), std::string::npos) << s.out();
  EXPECT_EQ(s.out().find("Error"), std::string::npos) << s.out();
  EXPECT_TRUE(s.quit());
}

// A position the analysis has finished with (a mate it has found four times) waits for the next
// command instead of being searched again and again.
TEST(Analysis, FinishedAnalysisWaits) {
  Session s;
  s.send("setboard 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\nanalyze\nping 1\n");
  ASSERT_FALSE(s.waitFor("pong 1\n", 10).empty());
  s.drain(0.5);
  size_t lines = thinkingLines(s.out()).size();
  EXPECT_GE(lines, 4u);
  s.drain(0.5);
  EXPECT_EQ(thinkingLines(s.out()).size(), lines);
  EXPECT_TRUE(s.quit());
}

// Plies are taken back by replaying the game from its start. The history comes back with the
// position: a position seen twice is no draw yet after "remove", and is one when it comes a
// third time after moves taken back and played again.
TEST(TakeBack, UndoAndRemoveRestoreTheGameExactly) {
  const std::string dance = "new\nforce\ng1f3\ng8f6\nf3g1\nf6g8\ng1f3\ng8f6\nf3g1\nf6g8\n";  // start position thrice
  const std::string repetition = "1/2-1/2 {Draw by 3 fold repetition (2)}\n";
  auto thrice = session(dance + "go\nquit\n");
  EXPECT_EQ(afterStartUp(thrice.out), repetition);

  // Two plies back the knights stand on f3 and f6 for the second time: the engine moves.
  Session twice;
  twice.send(dance + "remove\neasy\nsd 3\ngo\n");
  ASSERT_FALSE(twice.waitFor("move \\S+\n").empty()) << twice.out();
  EXPECT_EQ(twice.out().find("1/2-1/2"), std::string::npos) << twice.out();
  EXPECT_TRUE(twice.quit());

  auto again = session(dance + "undo\nundo\nremove\ng1f3\ng8f6\nf3g1\nf6g8\ngo\nquit\n");
  EXPECT_EQ(afterStartUp(again.out), repetition);

  // Nothing to take back after a new game; a set-up position starts a game of its own.
  auto none = session("new\nundo\nforce\nsetboard 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\ne2e4\nremove\nundo\ne2e3\nquit\n");
  EXPECT_EQ(afterStartUp(none.out),
            "Error (command not legal now): undo\nError (command not legal now): remove\n");
}

// "sd" limits the depth of a search for a move; "new" lifts the limit.
TEST(Limits, DepthLimitHoldsUntilNewGame) {
  auto deepest = [](const std::string& out) {
    int d = 0;
    for (auto& [depth, pv] : thinkingLines(out)) d = std::max(d, depth);
    return d;
  };
  Session s;
  s.send("new\neasy\nsd 3\nlevel 0 100 0\ntime 500000 otim 500000\ngo\n");
  ASSERT_FALSE(s.waitFor("move \\S+\n", 30).empty()) << s.out();
  EXPECT_EQ(deepest(s.out()), 3) << s.out();
  size_t first = s.out().size();
  s.send("new\nst 1\ngo\n");
  ASSERT_FALSE(s.waitFor("move \\S+\n", 30).empty()) << s.out();
  EXPECT_GT(deepest(s.out().substr(first)), 3) << s.out();
  EXPECT_TRUE(s.quit());
}

// "st" gives every move the same time, never run over: the search's own last line comes within it.
TEST(Limits, FixedTimePerMove) {
  Session s;
  s.send("new\neasy\nst 1\ngo\n");
  ASSERT_FALSE(s.waitFor("move \\S+\n", 30).empty()) << s.out();
  auto lines = thinkingLines(s.out());
  ASSERT_FALSE(lines.empty()) << s.out();
  std::smatch m;
  std::string last = s.out().substr(s.out().rfind("\n    "));
  ASSERT_TRUE(std::regex_search(last, m, std::regex("^\n    \\d+     -?\\d+     (\\d+)")));
  EXPECT_LT(std::stoi(m[1]), 100) << s.out();
  EXPECT_TRUE(s.quit());
}

TEST(ThinkingOutput, NopostSilencesThinkingAndPostBringsItBack) {
  Session s;
  s.send("new\neasy\nnopost\nsd 4\ngo\n");
  ASSERT_FALSE(s.waitFor("move \\S+\n", 30).empty()) << s.out();
  EXPECT_TRUE(thinkingLines(s.out()).empty()) << s.out();
  s.send("force\nnew\npost\nsd 4\ngo\n");
  ASSERT_FALSE(s.waitFor("move \\S+\n", 30).empty()) << s.out();
  EXPECT_FALSE(thinkingLines(s.out()).empty()) << s.out();
  EXPECT_TRUE(s.quit());
}

// The hint is the reply the engine expects: its pondered move, or the table's move when it does
// not ponder.
TEST(Hints, PonderedMoveOrTableMove) {
  for (const char* ponder : {"easy", "hard"}) {
    Session s;
    s.send(std::string("new\n") + ponder + "\nsd 5\ngo\n");
    ASSERT_FALSE(s.waitFor("move \\S+\n", 30).empty()) << s.out();
    s.send("hint\n");
    EXPECT_FALSE(s.waitFor("Hint: [a-h][78][a-h][1-8]\n", 10).empty()) << ponder << s.out();
    EXPECT_TRUE(s.quit());
  }
}

// A word that is neither a move nor a command is answered; the commands around it still work,
// the typed tools too; a variant other than normal chess is refused.
TEST(UnknownWords, AreAnsweredAndTheLoopGoesOn) {
  auto r = session("new\nfoo\nvariant normal\nvariant suicide\ne9e4\ne2e4e5\nping 3\nbenchmarkspeed x\nbk\nquit\n");
  EXPECT_EQ(afterStartUp(r.out),
            "Error (unknown command): foo\nError (unsupported variant): suicide\n"
            "Error (unknown command): e9e4\nError (unknown command): e2e4e5\npong 3\nDefine __STAT\n"
            "Error (unknown command): bk\n");
}

// Commands a front end sends that change nothing here are taken with their arguments, so the
// arguments are never read as commands. Scid greets the engine a second time and says "ponder off".
TEST(UnknownWords, CommandsWithoutEffectTakeTheirArguments) {
  auto r = session(
      "new\nname Some Opponent (1800)\nrating 2100 1800\nics -\ncomputer\nrandom\nmemory 64\ncores 2\n"
      "xboard\nprotover 2\nponder off\nponder on\n"
      "otim 1000\ndraw\naccepted ping\nrejected pause\nresult 1-0 {White mates}\nplayother\nping 7\nquit\n");
  EXPECT_EQ(afterStartUp(r.out), "pong 7\n");
}

}  // namespace
