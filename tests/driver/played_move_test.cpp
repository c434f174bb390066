// The move the engine plays, and the move it ponders on, are those of its last finished iteration.
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "driver/engine_state.h"
#include "driver/game_flow.h"
#include "driver/game_position.h"
#include "driver/search_hooks.h"
#include "driver/time_control.h"
#include "io/clock.h"
#include "io/input.h"
#include "movegen/ply.h"
#include "movegen/validate.h"
#include "search/iterate.h"
#include "search/search_state.h"
#include "search/transtable.h"

namespace {

// A Sicilian Dragon with Black to move.
constexpr const char* DRAGON = "r1bq1rk1/pp2ppbp/2np1np1/8/2BNP3/2N1BP2/PPPQ2PP/R3K2R b KQ - 3 9";

// The first move of the principal variation of every thinking line in the output.
std::vector<std::string> thinkingMoves(const std::string& out) {
  std::vector<std::string> moves;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("    ", 0) != 0) continue;
    std::istringstream fields(line);
    std::string depth, score, time, nodes, first;
    fields >> depth >> score >> time >> nodes >> first;
    moves.push_back(first);
  }
  return moves;
}

// The store rule keeps an older entry for the root when it is deeper than the new results. The
// engine used to read its move from that entry and played a move its own search never chose.
TEST(PlayedMove, DeeperRootEntryLeftByAnOlderSearchIsNotPlayed) {
  int silent[2];
  ASSERT_EQ(pipe(silent), 0);
  setInputDescriptor(silent[0]);
  ASSERT_TRUE(SetupGamePosition(DRAGON));
  plies.current = plies.records;
  const Move planted = ParseCoordinateMove("h7h5");
  StoreTable(planted, 3000, 14, BOUND_UPPER);
  driver.engineState = PLAYING;
  driver.ponderEnabled = false;
  InstallSearchHooks();
  TimeControl saved = timeControl;
  SetLevel(0, 0);
  ComputeTimeBudget(1200);  // a few hundred milliseconds

  ::testing::internal::CaptureStdout();
  think();
  std::string out = ::testing::internal::GetCapturedStdout();
  timeControl = saved;
  search.hooks = {};
  setInputDescriptor(0);
  close(silent[0]);
  close(silent[1]);

  std::vector<std::string> chosen = thinkingMoves(out);
  ASSERT_FALSE(chosen.empty()) << out;
  for (const std::string& m : chosen) ASSERT_NE(m, "h7h5") << out;
  size_t at = out.find("move ");
  ASSERT_NE(at, std::string::npos) << out;
  std::string played = out.substr(at + 5, out.find('\n', at) - at - 5);
  EXPECT_EQ(played, chosen.back()) << out;
}

}  // namespace

namespace {

// The hard limit may stop a search before its first iteration has finished (a clock of a few
// milliseconds): a legal move is still played.
TEST(PlayedMove, SearchStoppedBeforeItsFirstIterationStillHasALegalMove) {
  ASSERT_TRUE(SetupGamePosition(DRAGON));
  plies.current = plies.records;
  SearchLimits saved = search.limits;
  search.hooks = {};
  search.limits = {};
  search.limits.maxDepth = 20;
  search.limits.moveStart = processClock() - 1;
  search.limits.hardLimit = 0;
  search.stopSearch = 0;
  IterativeDeepening();
  Move played = search.result.move;
  search.limits = saved;
  EXPECT_EQ(search.result.depth, 0);  // nothing finished
  EXPECT_TRUE(isLegalMove(played));
}

}  // namespace
