// The engine as the front ends drive it: a search on its own thread, stopped, pondering until the
// ponder hit, and a new game that forgets everything a search learned.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "board/fen.h"
#include "board/tables.h"
#include "engine/engine.h"
#include "eval/piece_tables.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"

namespace {

constexpr const char* MIDDLEGAME = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8";

// An engine whose hooks keep what it reports.
struct Recorder {
  Recorder() {
    InitTables();
    InitPieceSquareTables();
    engine = std::make_unique<Engine>();
    engine->setHooks({[this](const IterationReport& r) {
                        std::lock_guard<std::mutex> lock(mutex);
                        if (r.kind == ReportKind::ITERATION) lastNodes = r.nodes;
                      },
                      [this](const SearchOutcome& o) {
                        std::lock_guard<std::mutex> lock(mutex);
                        outcomes.push_back(o);
                      }});
  }
  size_t delivered() {
    std::lock_guard<std::mutex> lock(mutex);
    return outcomes.size();
  }
  std::unique_ptr<Engine> engine;
  std::mutex mutex;
  std::vector<SearchOutcome> outcomes;
  uint64_t lastNodes = 0;
};

bool legalIn(const char* fen, Move m) {
  Position pos;
  return SetupPosition(pos, fen) && isLegalMove(pos, m);
}

TEST(EngineSearch, StopEndsASearchWithoutLimitAndItsMoveComesOnce) {
  Recorder r;
  ASSERT_TRUE(r.engine->setUp(MIDDLEGAME));
  SearchRequest request;
  request.infinite = true;
  r.engine->go(request);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(r.engine->searching());
  EXPECT_EQ(r.delivered(), 0u);
  r.engine->stop();
  r.engine->wait();
  EXPECT_FALSE(r.engine->searching());
  ASSERT_EQ(r.delivered(), 1u);
  EXPECT_TRUE(legalIn(MIDDLEGAME, r.outcomes[0].move));
  EXPECT_GT(r.outcomes[0].depth, 0);
}

// A search that has found all it can (a mate) while it has no time limit still waits for the stop.
TEST(EngineSearch, FinishedSearchWithoutLimitWaitsForTheStop) {
  Recorder r;
  ASSERT_TRUE(r.engine->setUp("6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1"));
  SearchRequest request;
  request.infinite = true;
  r.engine->go(request);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(r.delivered(), 0u);
  r.engine->stop();
  r.engine->wait();
  ASSERT_EQ(r.delivered(), 1u);
  EXPECT_EQ(r.outcomes[0].move, ParseCoordinateMove(r.engine->game().position(), "d1d8"));
}

// Pondering has no time limit; the ponder hit starts the clock of the move, and the move follows
// within it.
TEST(EngineSearch, PonderingWaitsForThePonderHitThenKeepsToTheClock) {
  Recorder r;
  ASSERT_TRUE(r.engine->setUp(MIDDLEGAME));
  SearchRequest request;
  request.ponder = true;
  request.time[WHITE] = request.time[BLACK] = 2000;
  r.engine->go(request);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(r.delivered(), 0u);
  const auto hit = std::chrono::steady_clock::now();
  r.engine->ponderHit();
  r.engine->wait();
  const auto took = std::chrono::steady_clock::now() - hit;
  ASSERT_EQ(r.delivered(), 1u);
  EXPECT_TRUE(legalIn(MIDDLEGAME, r.outcomes[0].move));
  EXPECT_LT(took, std::chrono::milliseconds(2000));
}

// The xboard way: the move pondered on is made first, and the best move is the answer to it.
TEST(EngineSearch, PonderMoveIsMadeOnTheSearchsPositionOnly) {
  Recorder r;
  ASSERT_TRUE(r.engine->setUp(MIDDLEGAME));
  const Move reply = ParseCoordinateMove(r.engine->game().position(), "a2a3");
  SearchRequest request;
  request.ponder = true;
  request.ponderMove = reply;
  request.depth = 4;
  r.engine->go(request);
  EXPECT_EQ(r.engine->game().position().sideToMove, WHITE);  // the game is as it was
  ASSERT_TRUE(r.engine->playMove(reply));
  SearchRequest clock;
  clock.moveTime = 100;
  r.engine->ponderHit(&clock);
  r.engine->wait();
  ASSERT_EQ(r.delivered(), 1u);
  Position after;
  ASSERT_TRUE(SetupPosition(after, MIDDLEGAME));
  makeMove(after, reply);
  EXPECT_TRUE(isLegalMove(after, r.outcomes[0].move));
}

// A new game forgets the table, the history and the killers: the same search then makes the same
// tree as in a fresh engine.
TEST(EngineSearch, NewGameForgetsWhatTheSearchLearned) {
  auto searchMiddlegame = [](Recorder& r) {
    ASSERT_TRUE(r.engine->setUp(MIDDLEGAME));
    SearchRequest request;
    request.depth = 7;
    r.engine->go(request);
    r.engine->wait();
  };
  Recorder fresh;
  searchMiddlegame(fresh);
  Recorder used;
  ASSERT_TRUE(used.engine->setUp("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"));
  SearchRequest request;
  request.depth = 6;
  used.engine->go(request);
  used.engine->wait();
  used.engine->newGame();
  searchMiddlegame(used);
  EXPECT_EQ(used.lastNodes, fresh.lastNodes);
  EXPECT_EQ(used.outcomes.back().move, fresh.outcomes.back().move);
}

}  // namespace
