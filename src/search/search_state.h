// The state of one search thread, and what the threads of a search share.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "board/position.h"
#include "eval/bitbase.h"
#include "eval/pawn_cache.h"
#include "search/limits.h"
#include "search/ordering.h"
#include "search/ply.h"
#include "search/report.h"
#include "search/transtable.h"

struct SearchState;

// The engine's tables, the limits and the stop flag: one for all threads of a search.
struct SearchShared {
  TransTable& table;
  PawnCache& pawnCache;
  const Bitbases& bitbases;
  SearchLimits limits{};
  SearchClock clock;
  SearchHooks hooks;
  std::atomic<bool> stop{false};
  // Every thread's state, the main thread's first: for the node count of them all.
  SearchState* const* threads = nullptr;
  int threadCount = 0;

  SearchShared(TransTable& t, PawnCache& p, const Bitbases& b) : table(t), pawnCache(p), bitbases(b) {}
  uint64_t totalNodes() const;
};

// One thread's search: its own position, ply records, move lists, history and counters. Only its
// thread writes it; the published counters are read by others.
struct SearchState {
  explicit SearchState(SearchShared& s) : shared(s), table(s.table), pawnCache(s.pawnCache) {}
  SearchState(const SearchState&) = delete;
  SearchState& operator=(const SearchState&) = delete;

  SearchShared& shared;
  // The shared tables every node reads, held here as well: one step nearer.
  TransTable& table;
  PawnCache& pawnCache;
  int id = 0;  // 0: the main thread, which decides and reports

  Position pos;
  PlyRecord plies[PLY_STACK_SIZE];
  MoveEntry moveStack[MOVE_STACK_SIZE];
  uint32_t orderKeys[MOVE_STACK_SIZE];  // history keys, parallel to moveStack
  HistoryTables history;

  uint64_t nodeCount = 0;   // moves made by the search (its node limit and polls count them)
  uint64_t nextPollAt = 0;  // nodeCount at which the next poll runs
  uint64_t movesMade = 0;   // every move the search makes, quiescence included (for benchmarks)
  int iterationDepth = 0;
  int selectiveDepth = 0;
  int32_t checkCount[2] = {0, 0};  // nodes on the current line at which each colour was in check
  int32_t aspirationResearch = 0;  // -1 after a fail-low, +1 after a fail-high, else 0
  bool useBitbases = true;
  bool allRootMovesDrawn = false;
  // The root's value by the bitbases, when they decide it (a win, or every move drawn or lost):
  // the lines shown carry it, while the search itself goes on by the evaluation among the moves
  // kept. NO_TABLE_SCORE otherwise.
  int rootTableScore = NO_TABLE_SCORE;
  SearchResult result{};
  // The root moves the line being searched leaves out: those of the better lines of the same
  // iteration, when several lines are searched.
  Move rootExcluded[MAX_MULTI_PV];
  int rootExcludedCount = 0;
  // The best root move of the iteration under way that beat its window's lower bound: an
  // interrupted iteration's choice when there is one.
  Move iterationMove = 0;
  int iterationScore = 0;

  // Published for other threads (the node total, the front end's status line).
  std::atomic<uint64_t> publishedNodes{0};
  std::atomic<int> publishedDepth{0};
  std::atomic<int> publishedRootMove{0};  // the root move being searched, counted from 1
  std::atomic<int> publishedRootMoves{0};  // legal moves at the root
  std::atomic<Move> publishedBest{0};      // the last finished iteration's move

  bool stopped() const { return shared.stop.load(std::memory_order_relaxed); }
  void stop() { shared.stop.store(true, std::memory_order_relaxed); }
};
