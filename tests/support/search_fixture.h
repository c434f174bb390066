// One search thread's state and the tables it searches with, built fresh for a test.
#pragma once
#include <memory>

#include "eval/bitbase.h"
#include "eval/pawn_cache.h"
#include "search/iterate.h"
#include "search/search_state.h"
#include "search/transtable.h"

struct SearchFixture {
  TransTable table;
  std::unique_ptr<PawnCache> pawnCache = std::make_unique<PawnCache>();
  Bitbases bitbases;
  SearchShared shared{table, *pawnCache, bitbases};
  std::unique_ptr<SearchState> state = std::make_unique<SearchState>(shared);
  SearchState* threads[1] = {state.get()};

  // A search of the whole move list to `depth` plies, without a time limit.
  explicit SearchFixture(int depth = MAX_SEARCH_DEPTH) {
    shared.threads = threads;
    shared.threadCount = 1;
    shared.limits = {};
    shared.limits.maxDepth = depth;
    shared.limits.infinite = true;
    shared.limits.multiPv = 1;
    ResetSearchState(*state);
  }

  Position& pos() { return state->pos; }
};
