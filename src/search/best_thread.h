// Which thread's result a search with helper threads plays.
#pragma once

#include "search/search_state.h"

// Every thread with a result of its own iterations votes for its move, with the weight
// (its score above the lowest of them + a constant) x its depth: a move that deeper or better
// searches agree on wins, and a helper that finished a deeper iteration than the main thread
// is heard. A mate found for the side to move goes to the thread with the shortest one. The main
// thread's result stands alone when it is the only one, or the search had a depth or several
// lines to give.
const SearchState& ChooseThread(const SearchShared& shared);
