// Iterative deepening: the search of one thread, for thinking, pondering and analysis.
#pragma once
#include <cstdint>

#include "search/search_state.h"

// Searches the thread's position depth after depth within the shared limits, reporting through
// the shared hooks (the main thread only); leaves the last finished iteration's choice (or that of
// an interrupted one that counts) in s.result. Returns the last iteration's score (0 when the
// position is already drawn: nothing is searched then).
int16_t IterativeDeepening(SearchState& s);

// Once every thread of a search has stopped: the result to play, chosen among the threads'
// results, becomes the main thread's, and its closing line is reported.
void FinishSearch(SearchShared& shared);

// Everything a new game forgets of a thread's search: its history, killers and result.
void ResetSearchState(SearchState& s);
