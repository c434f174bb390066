// The UCI front end through the real binary: the greeting and options, positions and bad input,
// the limits of "go", input during a search, pondering, and what the info lines say.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "e2e/harness.h"
#include "e2e/session.h"

namespace {

using e2e::runDorvik;
using e2e::Session;

const std::string EGBB_ERROR =
    "info string EGBB ERROR: endgame bitbases not loaded: no folder /nonexistent/: No such file or directory\n";

// A UCI session that has been greeted.
struct Uci : Session {
  explicit Uci(const std::string& ini = "") : Session(ini, "uci\n") { EXPECT_FALSE(waitFor("uciok\n", 10).empty()); }

  // Sends "go ..." and returns the best move ("" when none came within the time).
  std::string bestMove(const std::string& go, double seconds = 30) {
    send(go + "\n");
    std::string line = waitFor("bestmove \\S+( ponder \\S+)?\n", seconds);
    std::smatch m;
    return std::regex_search(line, m, std::regex("bestmove (\\S+)")) ? m[1].str() : "";
  }

  // Whether the engine takes `moves` after `position` as legal.
  bool legal(const std::string& position, const std::string& moves) {
    size_t from = out().size();
    send("position " + position + " moves " + moves + "\nisready\n");
    waitFor("readyok\n", 10);
    return out().find("illegal move", from) == std::string::npos;
  }
};

TEST(UciGreeting, IdentityAndOptionsWithTheIniDefaults) {
  auto r = runDorvik({"uci\nisready\nquit\n", "BOOK_PATH=nobook\nEGBB_PATH=/nonexistent\n"});
  const std::string greeting =
      "id name Dorvik 1.0\nid author the Dorvik developers\n"
      "option name Hash type spin default 18 min 1 max 1048576\n"
      "option name Threads type spin default 1 min 1 max 256\n"
      "option name Clear Hash type button\n"
      "option name Move Overhead type spin default 50 min 0 max 5000\n"
      "option name MultiPV type spin default 1 min 1 max 16\n"
      "option name Ponder type check default false\n"
      "option name UCI_AnalyseMode type check default false\n"
      "option name OwnBook type check default true\n"
      "option name BookPath type string default nobook/\n"
      "option name EgbbPath type string default /nonexistent/\n";
  // Then what start-up found, in info strings, "uciok" last, and the answer to "isready".
  EXPECT_EQ(r.out.substr(0, greeting.size()), greeting) << r.out;
  EXPECT_TRUE(std::regex_match(r.out.substr(greeting.size()),
                               std::regex("info string BOOK ERROR: [^\n]*\n" + EGBB_ERROR + "uciok\nreadyok\n")))
      << r.out;
  EXPECT_EQ(r.status, 0);
  // Without a file the options have no folders, and the missing file is said before "uciok".
  auto bare = runDorvik({"uci\nquit\n"});
  EXPECT_NE(bare.out.find("option name BookPath type string default <empty>\n"), std::string::npos);
  EXPECT_NE(bare.out.find("\ninfo string ERROR: Dorvik.ini cannot be opened: there is none at ./Dorvik.ini, "), std::string::npos)
      << bare.out;
  EXPECT_EQ(bare.out.substr(bare.out.size() - 6), "uciok\n");
  EXPECT_EQ(bare.out.find("feature"), std::string::npos);
}

// A malformed FEN leaves the position as it was; an illegal move ends the moves before it. Each
// is said in an info string, and the engine goes on with the position it has.
TEST(UciPositions, BadInputChangesNothingItShouldNot) {
  Uci u;
  u.send("position startpos moves e2e4 e7e5\nposition fen 8/8/8/9/8/8/8/8 w - - 0 1\n");
  std::string best = u.bestMove("go depth 3");
  EXPECT_NE(u.out().find("info string position: refused FEN 8/8/8/9/8/8/8/8 w - - 0 1: position unchanged\n"),
            std::string::npos)
      << u.out();
  EXPECT_TRUE(u.legal("startpos", "e2e4 e7e5 " + best)) << best;

  u.send("position startpos moves e2e4 e7e5 g1f3 e8e6 b8c6\n");
  best = u.bestMove("go depth 3");
  EXPECT_NE(u.out().find("info string illegal move e8e6: the moves stop before it\n"), std::string::npos);
  EXPECT_TRUE(u.legal("startpos", "e2e4 e7e5 g1f3 " + best)) << best;

  // Unknown words before a command are passed over; the command is obeyed.
  u.send("joho isready\n");
  EXPECT_FALSE(u.waitFor("info string unknown command: joho\nreadyok\n", 10).empty()) << u.out();
  EXPECT_TRUE(u.quit());
}

// A game that goes on from the last position keeps what the search learned: the root of the next
// search is in the table. A new game forgets it.
TEST(UciPositions, AGameThatGoesOnKeepsTheSearchMemory) {
  Uci u;
  u.send("position startpos moves e2e4\n");
  u.send("go depth 6\n");
  std::string line = u.waitFor("bestmove \\S+ ponder \\S+\n");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(line, m, std::regex("bestmove (\\S+) ponder (\\S+)"))) << u.out();
  const std::string game = "startpos moves e2e4 " + m[1].str() + " " + m[2].str();
  u.send("position " + game + "\nisready\n");
  ASSERT_FALSE(u.waitFor("readyok\n").empty());
  size_t before = u.log().size();
  EXPECT_FALSE(u.bestMove("go depth 3").empty());
  EXPECT_EQ(u.log().find("brak hm na poczatku", before), std::string::npos) << u.log().substr(before);
  u.send("ucinewgame\nposition " + game + "\nisready\n");
  ASSERT_FALSE(u.waitFor("readyok\n").empty());
  before = u.log().size();
  EXPECT_FALSE(u.bestMove("go depth 3").empty());
  EXPECT_NE(u.log().find("brak hm na poczatku", before), std::string::npos);
  EXPECT_TRUE(u.quit());
}

// "go infinite" and "go ponder" send their best move only after "stop" or "ponderhit"; "isready"
// is answered at once meanwhile.
TEST(UciSearch, InfiniteAndPonderWaitForTheFrontEnd) {
  Uci u;
  u.send("position startpos moves d2d4\ngo infinite\n");
  ASSERT_FALSE(u.waitFor("info depth 4 ").empty()) << u.out();
  u.send("isready\n");
  ASSERT_FALSE(u.waitFor("readyok\n", 10).empty()) << u.out();
  u.drain(0.3);
  EXPECT_EQ(u.out().find("bestmove"), std::string::npos);
  u.send("stop\n");
  ASSERT_FALSE(u.waitFor("bestmove [a-h][78][a-h][1-8] ponder \\S+\n", 10).empty()) << u.out();

  u.send("position startpos moves d2d4 d7d5\ngo ponder wtime 60000 btime 60000\n");
  ASSERT_FALSE(u.waitFor("info depth \\d+ ").empty()) << u.out();
  u.drain(0.3);
  EXPECT_EQ(u.sinceMark().find("bestmove"), std::string::npos);
  u.send("ponderhit\n");
  ASSERT_FALSE(u.waitFor("bestmove [a-h][12][a-h][1-8]", 30).empty()) << u.out();

  // A ponder search that ends by itself (a mate found four times over) still waits.
  u.send("position fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\ngo ponder wtime 60000 btime 60000\n");
  u.drain(0.5);
  EXPECT_EQ(u.sinceMark().find("bestmove"), std::string::npos) << u.sinceMark();
  u.send("ponderhit\n");
  EXPECT_FALSE(u.waitFor("bestmove d1d8\n", 5).empty()) << u.out();

  // "stop" right after "go" (pychess's analysis does it) still gets an info line with a score
  // and the move before the best move, in a position searched before and in a new one.
  for (const char* fen : {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", "k7/8/1K6/8/8/8/8/7R b - - 0 1"}) {
    const size_t from = u.mark();
    u.send(std::string("position fen ") + fen + "\ngo movetime 3000\nstop\n");
    ASSERT_FALSE(u.waitFor("bestmove \\S+.*\n", 5).empty()) << u.out();
    const std::string reply = u.out().substr(from, u.mark() - from);
    EXPECT_TRUE(std::regex_search(reply, std::regex("info depth \\d+ .*score (cp|mate) -?\\d+.* pv (\\S+)[^\n]*\nbestmove "))) << reply;
  }
  EXPECT_TRUE(u.quit());
}

// Depth, nodes and a malformed clock each end a search that has no time limit.
TEST(UciSearch, LimitsOtherThanTheClock) {
  Uci u;
  u.send("position startpos moves e2e4\n");
  EXPECT_FALSE(u.bestMove("go depth 4").empty());
  std::string out = u.out();
  EXPECT_TRUE(std::regex_search(out, std::regex("info depth 4 [^\n]*\nbestmove"))) << out;
  EXPECT_EQ(out.find("info depth 5 "), std::string::npos) << out;

  size_t from = u.out().size();
  EXPECT_FALSE(u.bestMove("go nodes 5000").empty());
  std::string lines = u.out().substr(from);
  const std::regex nodes("nodes (\\d+)");
  for (std::sregex_iterator it(lines.begin(), lines.end(), nodes), end; it != end; ++it)
    EXPECT_LE(std::stoi((*it)[1]), 5000) << lines;

  // Black to move and only White's clock, wrongly written: reported, and a move comes at once.
  EXPECT_FALSE(u.bestMove("go wtime 1e4 btime x").empty());
  EXPECT_NE(u.out().find("info string go: wtime takes a number, not '1e4'"), std::string::npos) << u.out();
  EXPECT_TRUE(u.quit());
}

// Where the bitbases decide the root (every move of king and queen against king wins) the lines
// show the tables' score, not the evaluation the search goes on with: for either colour, won and lost.
TEST(UciSearch, RootsTheBitbasesDecideShowTheTablesScore) {
  Uci u("EGBB_PATH=" DORVIK_EGBB_DIR "\n");
  const std::regex score("score cp (-?\\d+) [^\n]*\nbestmove ");
  for (const char* fen : {"8/8/8/4k3/8/8/8/KQ6 w - - 0 1", "kq6/8/8/8/4K3/8/8/8 b - - 0 1",
                          "8/8/8/4k3/8/8/8/KQ6 b - - 0 1", "kq6/8/8/8/4K3/8/8/8 w - - 0 1"}) {
    const size_t from = u.mark();
    u.send(std::string("position fen ") + fen + "\n");
    ASSERT_FALSE(u.bestMove("go depth 6").empty()) << u.out();
    const std::string reply = u.out().substr(from);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(reply, m, score)) << reply;
    const int cp = std::stoi(m[1]);
    const bool winning = (fen[0] == '8') == (std::string(fen).find(" w ") != std::string::npos);
    // Evaluations stay far below 7000; mates are shown as "mate N".
    EXPECT_GT(winning ? cp : -cp, 7000) << fen << "\n" << reply;
  }
  EXPECT_TRUE(u.quit());
}

// Scores of mates are in moves from the engine's side: "mate 1" to give it, "mate -1" to get it.
TEST(UciSearch, MateScoresAreInMoves) {
  Uci u;
  u.send("position fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\n");
  EXPECT_EQ(u.bestMove("go depth 5"), "d1d8");
  EXPECT_NE(u.out().find("score mate 1 "), std::string::npos) << u.out();
  u.send("position fen 7k/p4Q2/6K1/8/8/8/8/8 b - - 0 1\n");
  EXPECT_FALSE(u.bestMove("go depth 5").empty());
  EXPECT_NE(u.out().find("score mate -1 "), std::string::npos) << u.out();
  // No legal move at all: the null move.
  u.send("position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\n");
  EXPECT_EQ(u.bestMove("go depth 3"), "0000");
  EXPECT_TRUE(u.quit());
}

// With its own book the engine answers at once from it, the move in a line of its own (depth 0,
// no nodes searched) before the best move; without, or while the front end analyses (pychess's
// hint panel asks "go movetime 3000" of the initial position), it searches.
TEST(UciSearch, BookMovesComeAtOnceUnlessTheFrontEndKeepsTheBookOrAnalyses) {
  Uci u("BOOK_PATH=" DORVIK_SOURCE_DIR "/book/\n");
  u.send("position startpos\n");
  std::string best = u.bestMove("go wtime 60000 btime 60000");
  EXPECT_FALSE(best.empty());
  EXPECT_TRUE(std::regex_search(u.out(), std::regex("\ninfo depth 0 score cp -?\\d+ nodes 0 time 0 pv " + best +
                                                    "\nbestmove " + best + "\n")))
      << u.out();
  u.send("setoption name OwnBook value false\nposition startpos\n");
  EXPECT_FALSE(u.bestMove("go depth 3").empty());
  EXPECT_NE(u.out().find("info depth 3 "), std::string::npos) << u.out();
  u.send("setoption name OwnBook value true\nsetoption name UCI_AnalyseMode value true\nposition startpos\n");
  const size_t before = u.out().size();
  EXPECT_FALSE(u.bestMove("go movetime 300").empty());
  EXPECT_NE(u.out().find("info depth ", before), std::string::npos) << u.out();
  EXPECT_TRUE(u.quit());
}

}  // namespace
