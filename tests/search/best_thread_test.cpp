// The move a search with helper threads plays: a vote among the threads' own results.
#include "search/best_thread.h"

#include <gtest/gtest.h>

#include <memory>

#include "board/fen.h"
#include "board/move.h"
#include "board/score.h"
#include "support/search_fixture.h"

namespace {

constexpr const char* ITALIAN = "r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 3 3";

// The main thread and one helper over the same tables, both at the root.
struct TwoThreads : SearchFixture {
  std::unique_ptr<SearchState> helper = std::make_unique<SearchState>(shared);
  SearchState* both[2] = {state.get(), helper.get()};

  TwoThreads() {
    shared.threads = both;
    shared.threadCount = 2;
    helper->id = 1;
    SetupPosition(state->pos, ITALIAN);
    helper->pos = state->pos;
  }
  Move move(const char* text) { return ParseCoordinateMove(state->pos, text); }
  const SearchState* chosen() { return &ChooseThread(shared); }
};

TEST(BestThread, VoteByDepthAndScore) {
  TwoThreads t;
  const Move nf6 = t.move("g8f6"), bc5 = t.move("f8c5");
  ASSERT_TRUE(nf6 && bc5);

  // Agreement: the move is the same whichever result stands for it. A helper no deeper and no
  // better: the main thread's own result.
  t.state->result = {nf6, 0, 20, 10};
  t.helper->result = {nf6, 0, 40, 11};
  EXPECT_EQ(t.chosen()->result.move, nf6);
  // When they agree, the deeper line is shown, though the shallower one scored a little better.
  t.state->result = {nf6, 0, 34, 11};
  t.helper->result = {nf6, 0, 37, 10};
  EXPECT_EQ(t.chosen(), t.state.get());
  t.state->result = {nf6, 0, 20, 10};
  t.helper->result = {bc5, 0, 10, 9};
  EXPECT_EQ(t.chosen(), t.state.get());

  // A helper that finished a deeper iteration with a better score is played.
  t.helper->result = {bc5, 0, 35, 11};
  EXPECT_EQ(t.chosen(), t.helper.get());

  // A mate found for the side to move: the shortest one.
  t.state->result = {nf6, 0, mateIn(9), 10};
  t.helper->result = {bc5, 0, mateIn(7), 8};
  EXPECT_EQ(t.chosen(), t.helper.get());
  t.helper->result = {bc5, 0, 900, 14};
  EXPECT_EQ(t.chosen(), t.state.get());
}

TEST(BestThread, MainThreadStandsWhenTheHelperHasNothingToSay) {
  TwoThreads t;
  const Move nf6 = t.move("g8f6"), bc5 = t.move("f8c5");
  t.state->result = {nf6, 0, 20, 10};

  // Nothing of its own (a move from the table or the evaluation), or a move not legal here.
  t.helper->result = {bc5, 0, 300, 0};
  EXPECT_EQ(t.chosen(), t.state.get());
  const Move castles = t.move("e8g8");  // through its own bishop and knight
  ASSERT_NE(castles, Move(MOVE_NONE));
  t.helper->result = {castles, 0, 300, 14};
  EXPECT_EQ(t.chosen(), t.state.get());

  // A search to a given depth, or of several lines, shows the main thread's lines and plays them.
  t.helper->result = {bc5, 0, 300, 14};
  ASSERT_EQ(t.chosen(), t.helper.get());
  t.shared.limits.maxDepth = 12;
  EXPECT_EQ(t.chosen(), t.state.get());
  t.shared.limits.maxDepth = MAX_SEARCH_DEPTH;
  t.shared.limits.multiPv = 2;
  EXPECT_EQ(t.chosen(), t.state.get());
}

}  // namespace
