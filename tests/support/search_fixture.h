// One search thread's state and the tables it searches with, built fresh for a test.
#pragma once
#include "search/lone_search.h"

struct SearchFixture : LoneSearch {
  // A search of the whole move list to `depth` plies, without a time limit.
  explicit SearchFixture(int depth = MAX_SEARCH_DEPTH) { limitDepth(depth); }
};
