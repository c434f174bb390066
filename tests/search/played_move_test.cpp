// The move the search plays, and the move it expects in reply, are those of its own finished
// iterations, never an older table entry's.
#include <gtest/gtest.h>

#include <vector>

#include "board/fen.h"
#include "board/move.h"
#include "movegen/validate.h"
#include "support/search_fixture.h"

namespace {

// A Sicilian Dragon with Black to move.
constexpr const char* DRAGON = "r1bq1rk1/pp2ppbp/2np1np1/8/2BNP3/2N1BP2/PPPQ2PP/R3K2R b KQ - 3 9";

// The store rule keeps an older entry for the root when it is deeper than the new results. The
// engine used to read its move from that entry and played a move its own search never chose.
TEST(PlayedMove, DeeperRootEntryLeftByAnOlderSearchIsNotPlayed) {
  SearchFixture f(6);
  ASSERT_TRUE(SetupPosition(f.pos(), DRAGON));
  const Move planted = ParseCoordinateMove(f.pos(), "h7h5");
  f.table.store(f.pos().hashKey, f.pos().sideToMove, planted, 3000, 14, BOUND_UPPER);
  std::vector<Move> chosen;
  f.shared.hooks.report = [&](const IterationReport& r) {
    if (r.kind == ReportKind::ITERATION && r.pv.count) chosen.push_back(r.pv.moves[0]);
  };
  IterativeDeepening(*f.state);
  ASSERT_FALSE(chosen.empty());
  for (Move m : chosen) EXPECT_NE(m, planted);
  EXPECT_EQ(f.state->result.move, chosen.back());
}

// A search stopped before its first iteration has finished still has a legal move.
TEST(PlayedMove, SearchStoppedBeforeItsFirstIterationStillHasALegalMove) {
  SearchFixture f(20);
  ASSERT_TRUE(SetupPosition(f.pos(), DRAGON));
  f.shared.stop = true;
  IterativeDeepening(*f.state);
  EXPECT_EQ(f.state->result.depth, 0);  // nothing finished
  EXPECT_TRUE(isLegalMove(f.pos(), f.state->result.move));
}

// A node limit stops the search within its iteration; the move is still one the search chose.
TEST(PlayedMove, NodeLimitIsKeptToTheNode) {
  SearchFixture f;
  ASSERT_TRUE(SetupPosition(f.pos(), DRAGON));
  f.shared.limits.nodeLimit = 5000;
  IterativeDeepening(*f.state);
  EXPECT_GE(f.state->nodeCount, 5000u);
  EXPECT_LE(f.state->nodeCount, 5001u);
  EXPECT_TRUE(isLegalMove(f.pos(), f.state->result.move));
}

}  // namespace
