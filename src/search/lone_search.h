// One search thread with tables of its own and no front end, for the bench, the benchmarks and the
// tests: nothing is read or printed, and the search runs on the caller's thread.
#pragma once
#include <cstddef>
#include <memory>

#include "board/score.h"
#include "eval/bitbase.h"
#include "eval/pawn_cache.h"
#include "search/iterate.h"
#include "search/search_state.h"
#include "search/transtable.h"

struct LoneSearch {
  TransTable table;
  std::unique_ptr<PawnCache> pawnCache = std::make_unique<PawnCache>();
  Bitbases bitbases;
  SearchShared shared{table, *pawnCache, bitbases};
  std::unique_ptr<SearchState> state = std::make_unique<SearchState>(shared);
  SearchState* threads[1] = {state.get()};

  // The table's size may be refused; table.megabytes() then says what it has.
  explicit LoneSearch(size_t megabytes = TT_DEFAULT_MEGABYTES) : table(megabytes) {
    shared.threads = threads;
    shared.threadCount = 1;
    limitDepth(MAX_SEARCH_DEPTH);
    ResetSearchState(*state);
  }

  // The next search: the whole move list to `depth` plies, without a time limit.
  void limitDepth(int depth) {
    shared.limits = {};
    shared.limits.maxDepth = depth;
    shared.limits.infinite = true;
    shared.limits.multiPv = 1;
    shared.stop = false;
  }

  Position& pos() { return state->pos; }
};
