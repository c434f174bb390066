// The engine with the library and its tables, as a front end runs it: in positions the tables
// pick, where one move alone keeps the win (or, for the weaker side, the draw), it plays that move.
#include <gtest/gtest.h>

#include <random>

#include "core/ending.h"
#include "e2e/session.h"
#include "core/board_text.h"
#include "egbb/boards.h"
#include "egbb/library_handle.h"

namespace {

using namespace egbb;

struct OnlyMove {
  std::string fen, move;
};

// A position of the ending whose side to move has at least four moves, one of which alone keeps
// the result `wanted` (1 a win, 0 a draw) that the others throw away.
OnlyMove findOnlyMove(const egbbtest::Library& library, const char* ending, int wanted, std::mt19937& random) {
  Ending e;
  Ending::parse(ending, e);
  for (;;) {
    Board b = egbbtest::randomBoard(e, random);
    int score = library.probe(b);
    if ((score > 0) != (wanted == 1) || (wanted == 0 && score != 0)) continue;
    Move moves[MAX_MOVES];
    int n = legalMoves(b, moves), keeping = 0, kept = 0;
    for (int i = 0; i < n; ++i) {
      int reply = library.probe(afterMove(b, moves[i]));  // the opponent's view
      if (wanted == 1 ? reply < 0 : reply == 0) ++keeping, kept = i;
    }
    if (n >= 4 && keeping == 1) return {egbb::fenOf(b), egbb::moveText(b, moves[kept])};
  }
}

TEST(EnginePlay, PlaysTheOnlyMoveThatKeepsTheWinOrTheDraw) {
  egbbtest::Library library;
  library.load(DORVIK_EGBB_DIR);
  std::mt19937 random(2024);
  std::vector<OnlyMove> cases;
  for (const char* ending : {"KQKR", "KRKP", "KBNK", "KPKP"}) cases.push_back(findOnlyMove(library, ending, 1, random));
  for (const char* ending : {"KRKR", "KQKQ", "KRKP", "KPKP"}) cases.push_back(findOnlyMove(library, ending, 0, random));
  for (const OnlyMove& c : cases) {
    e2e::Session s(std::string("EGBB_PATH=") + DORVIK_EGBB_DIR + "\n");
    s.send("easy\nsetboard " + c.fen + "\ntime 1000 otim 1000\ngo\n");
    std::string move = s.waitFor("move \\S+\n");
    EXPECT_EQ(move, "move " + c.move + "\n") << c.fen << "\n" << s.out();
    EXPECT_TRUE(s.quit());
  }
}

}  // namespace
