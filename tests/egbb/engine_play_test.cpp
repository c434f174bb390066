// The engine with the library and its tables: in positions the tables pick, where one move alone
// keeps the win (or, for the weaker side, the draw), it plays that move; where several moves win,
// it plays one of the quickest; and a move an older search left in the transposition table does
// not pass over what the tables say.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "board/fen.h"
#include "board/move.h"
#include "board/tables.h"
#include "core/ending.h"
#include "e2e/session.h"
#include "core/board_text.h"
#include "egbb/boards.h"
#include "egbb/library_handle.h"
#include "eval/bitbase.h"
#include "eval/piece_tables.h"
#include "movegen/attacks.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "search/root.h"
#include "support/search_fixture.h"

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
    egbb::Move moves[MAX_MOVES];
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

// Every winning move used to look alike to the search (the tables' distances went unused), so the
// engine could shuffle among them until the fifty-move rule: of several winning moves it plays one
// that mates soonest.
TEST(EnginePlay, OfSeveralWinningMovesPlaysAQuickestOne) {
  egbbtest::Library library;
  library.load(DORVIK_EGBB_DIR);
  std::mt19937 random(7);
  for (const char* ending : {"KQK", "KRK", "KBNK", "KQKR"}) {
    Ending e;
    Ending::parse(ending, e);
    for (int found = 0; found < 2;) {
      Board b = egbbtest::randomBoard(e, random);
      if (library.probe(b) <= 0) continue;
      egbb::Move moves[MAX_MOVES];
      int n = legalMoves(b, moves), quickest = -1 << 30, winning = 0;
      std::vector<std::string> best;
      for (int i = 0; i < n; ++i) {
        int reply = library.probe(afterMove(b, moves[i]));  // the opponent's view: lower is quicker
        if (reply >= 0) continue;
        ++winning;
        if (-reply > quickest) quickest = -reply, best.clear();
        if (-reply == quickest) best.push_back(egbb::moveText(b, moves[i]));
      }
      if (winning < 3 || int(best.size()) == winning) continue;
      ++found;
      std::string fen = egbb::fenOf(b);
      e2e::Session s(std::string("EGBB_PATH=") + DORVIK_EGBB_DIR + "\n");
      s.send("easy\nsetboard " + fen + "\ntime 1000 otim 1000\ngo\n");
      std::string move = s.waitFor("move \\S+\n");
      ASSERT_FALSE(move.empty()) << fen << "\n" << s.out();
      std::string played = move.substr(5, move.size() - 6);
      EXPECT_NE(std::find(best.begin(), best.end(), played), best.end()) << ending << " " << fen << ": " << played;
      EXPECT_TRUE(s.quit());
    }
  }
}

// A table cut-off at the root once returned an older search's move before the root moves were
// classified: in this drawn ending the engine played a move the tables score as lost.
TEST(EnginePlay, StoredRootMoveDoesNotPassOverTheTables) {
  InitTables();
  InitPieceSquareTables();
  SearchFixture f;
  SearchState& s = *f.state;
  ASSERT_TRUE(f.bitbases.load(DORVIK_EGBB_DIR, 4, 1));
  ASSERT_TRUE(SetupPosition(s.pos, "5k2/8/5P2/5K2/8/8/8/8 b - -"));
  const ::Move losing = ParseCoordinateMove(s.pos, "f8e8");
  f.table.store(s.pos.hashKey, s.pos.sideToMove, losing, 0, 6, BOUND_EXACT);  // an older search's word: a draw at depth 6
  // One iteration of depth 4 at the root, within the entry's depth.
  s.iterationDepth = 4;
  s.checkCount[0] = s.checkCount[1] = 0;
  s.nextPollAt = ~uint64_t(0);
  s.plies[0].listEnd = nullptr;
  computeCheckInfo(s.pos, s.plies);
  RootSearch(s, -100, 100);
  const ::Move played = s.plies[0].bestMove;
  ASSERT_TRUE(isLegalMove(s.pos, played));
  // The tables' verdict on the position after the move played, for the opponent: a draw.
  makeMove(s.pos, played);
  const int verdict = f.bitbases.probe(s.pos);
  unmakeMove(s.pos, played);
  char text[8];
  MoveToText(played, text);
  EXPECT_NE(played, losing);
  EXPECT_EQ(verdict, 0) << text;
}

}  // namespace
