// What real front ends send and read, through the real binary: gnome-chess's game without "new" or
// a clock, thinking lines as front ends parse them, pondering only when asked, several lines in
// both protocols, and options that load folders.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/harness.h"
#include "e2e/session.h"

namespace {

using e2e::Session;

const std::regex XBOARD_THINKING("^ *(\\d+) +(-?\\d+) +(\\d+) +(\\d+) +(.*)$");
const std::regex MOVE_WORD("[a-h][1-8][a-h][1-8][qrbn]?");

// The thinking lines of an xboard output: depth, score and the PV's words.
struct Thinking {
  int depth;
  int score;
  std::vector<std::string> pv;
};

std::vector<Thinking> thinkingLines(const std::string& out) {
  std::vector<Thinking> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (!std::regex_match(line, m, XBOARD_THINKING)) continue;
    Thinking t{std::stoi(m[1]), std::stoi(m[2]), {}};
    std::istringstream words(m[5].str());
    for (std::string w; words >> w;) t.pv.push_back(w);
    lines.push_back(t);
  }
  return lines;
}

// Whether the engine takes the moves, one after another, from the position.
::testing::AssertionResult playable(const std::string& fen, const std::vector<std::string>& moves) {
  std::string input = std::string(e2e::XBOARD_HANDSHAKE) + "force\nsetboard " + fen + "\n";
  for (const std::string& m : moves) input += m + "\n";
  auto r = e2e::runDorvik({input + "ping 1\nquit\n", ""});
  if (r.out.find("llegal") != std::string::npos || r.out.find("pong 1") == std::string::npos)
    return ::testing::AssertionFailure() << "refused:\n" << r.out;
  return ::testing::AssertionSuccess();
}

// gnome-chess greets with "xboard" alone, sends neither "new" nor a clock, and expects the start
// position: its moves come in force mode, then "go".
TEST(FrontEndHabits, GnomeChessPlaysWithoutNewOrClock) {
  Session s("", "xboard\n");
  s.send("random\nhard\nforce\ne2e4\ngo\n");
  const std::string move = s.waitFor("move \\S+\n", 60);
  ASSERT_FALSE(move.empty()) << s.out();
  EXPECT_EQ(s.out().find("llegal"), std::string::npos) << s.out();
  EXPECT_EQ(s.out().find("Error"), std::string::npos) << s.out();
  EXPECT_TRUE(playable("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                       {"e2e4", move.substr(5, move.size() - 6)}));
  EXPECT_TRUE(s.quit());
}

// Every word of a PV is a move, the line is playable, a fail-high or fail-low mark may end the
// last word only, and mates are 100000 + N moves (negative when the engine is mated).
TEST(ThinkingOutput, LinesHoldPlayableMovesAndMatesInTheProtocolsForm) {
  struct Case {
    const char* fen;
    int mate;  // the mate score the last line must show, 0 for none
  };
  for (const Case& c : {Case{"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", 100001},
                        Case{"7k/p4Q2/6K1/8/8/8/8/8 b - - 0 1", -100001},
                        Case{"r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 9", 0},
                        Case{"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 0}}) {
    Session s;
    s.send(std::string("post\nforce\nsetboard ") + c.fen + "\nsd 6\ngo\n");
    ASSERT_FALSE(s.waitFor("move \\S+\n", 60).empty()) << s.out();
    const std::vector<Thinking> lines = thinkingLines(e2e::afterStartUp(s.out()));
    ASSERT_FALSE(lines.empty()) << s.out();
    for (const Thinking& t : lines) {
      ASSERT_FALSE(t.pv.empty()) << s.out();
      std::vector<std::string> moves = t.pv;
      std::string& last = moves.back();
      if (last.back() == '!' || last.back() == '?') last.pop_back();
      for (const std::string& w : moves) EXPECT_TRUE(std::regex_match(w, MOVE_WORD)) << w << " in\n" << s.out();
      EXPECT_TRUE(playable(c.fen, moves)) << c.fen;
    }
    if (c.mate) EXPECT_EQ(lines.back().score, c.mate) << s.out();
    else EXPECT_LT(std::abs(lines.back().score), 100000) << s.out();
    EXPECT_TRUE(s.quit());
  }
}

// The engine ponders only once the front end says "hard" (ChessX never says "easy" or "hard").
TEST(FrontEndHabits, NoPonderingUntilAskedFor) {
  Session s;
  s.send("new\nst 0.3\ne2e4\n");
  ASSERT_FALSE(s.waitFor("move \\S+\n", 30).empty()) << s.out();
  s.drain(1.0);
  EXPECT_EQ(s.log().find("-ponder move: "), std::string::npos) << s.log();
  s.send("hard\nd2d4\n");
  ASSERT_FALSE(s.waitFor("move \\S+\n", 30).empty()) << s.out();
  EXPECT_TRUE(s.waitForLog("-ponder move: ", 10)) << s.log();
  EXPECT_TRUE(s.quit());
}

// Several lines: UCI "multipv K" lines with different first moves, scores falling from the first;
// "searchmoves" keeps the root to the moves named; xboard's MultiPV option shows both lines of a
// depth.
TEST(MultiPv, SeveralLinesInBothProtocolsAndSearchmovesKeepsTheRoot) {
  {
    Session u("", "uci\n");
    ASSERT_FALSE(u.waitFor("uciok\n", 10).empty());
    u.send("setoption name OwnBook value false\nsetoption name MultiPV value 3\nposition startpos\ngo depth 6\n");
    ASSERT_FALSE(u.waitFor("bestmove \\S+", 60).empty()) << u.out();
    const std::regex line("info depth 6 seldepth \\d+ multipv (\\d) score cp (-?\\d+) .* pv (\\S+)");
    std::set<std::string> firstMoves;
    int previous = 100000, count = 0;
    for (std::sregex_iterator it(u.out().begin(), u.out().end(), line), end; it != end && count < 3; ++it, ++count) {
      EXPECT_EQ(std::stoi((*it)[1]), count + 1) << u.out();
      EXPECT_LE(std::stoi((*it)[2]), previous) << u.out();
      previous = std::stoi((*it)[2]);
      firstMoves.insert((*it)[3]);
    }
    EXPECT_EQ(count, 3) << u.out();
    EXPECT_EQ(firstMoves.size(), 3u) << u.out();

    const size_t from = u.mark();
    u.send("setoption name MultiPV value 1\nposition startpos\ngo depth 5 searchmoves a2a3 h2h3\n");
    const std::string best = u.waitFor("bestmove \\S+", 60);
    EXPECT_TRUE(best == "bestmove a2a3" || best == "bestmove h2h3") << u.out();
    const std::string reply = u.out().substr(from);
    const std::regex firstMove(" pv (\\S+)");
    for (std::sregex_iterator it(reply.begin(), reply.end(), firstMove), end; it != end; ++it)
      EXPECT_TRUE((*it)[1] == "a2a3" || (*it)[1] == "h2h3") << reply;
    EXPECT_TRUE(u.quit());
  }
  Session s;
  s.send("option OwnBook=0\noption MultiPV=2\npost\nnew\nsd 5\ngo\n");
  ASSERT_FALSE(s.waitFor("move \\S+\n", 60).empty()) << s.out();
  std::set<std::string> firstAtFive;
  for (const Thinking& t : thinkingLines(e2e::afterStartUp(s.out())))
    if (t.depth == 5) firstAtFive.insert(t.pv.front());
  EXPECT_GE(firstAtFive.size(), 2u) << s.out();
  EXPECT_TRUE(s.quit());
}

// Over xboard the folder options load at once and say what they found, or why nothing was loaded
// (the book in use stays).
TEST(XboardOptions, FoldersLoadWithAConfirmingLineOrAReason) {
  Session s;
  s.send("option BookPath=" DORVIK_SOURCE_DIR "/book\noption BookPath=/nowhere\noption EgbbPath=" DORVIK_EGBB_DIR
         "\nnew\ngo\n");
  EXPECT_FALSE(s.waitFor("# book loaded from " DORVIK_SOURCE_DIR "/book/: [1-9]\\d* positions\n", 10).empty())
      << s.out();
  EXPECT_FALSE(s.waitFor("tellusererror BOOK ERROR: Cannot load file: '/nowhere/[^\n]*\n", 10).empty()) << s.out();
  EXPECT_FALSE(s.waitFor("# bitbases loaded from [^\n]*: [1-9]\\d* tables\n", 10).empty()) << s.out();
  ASSERT_FALSE(s.waitFor("move \\S+\n", 30).empty()) << s.out();
  EXPECT_TRUE(s.waitForLog("move (book) ", 10)) << s.log();
  EXPECT_TRUE(s.quit());
}

}  // namespace
