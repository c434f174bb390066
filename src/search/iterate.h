// Iterative deepening: the search entry for thinking, pondering and analysis.
#pragma once
#include <cstdint>

// Searches the working position depth after depth within search.limits, reporting through
// search.hooks; leaves the last finished iteration's choice in search.result. Returns that
// iteration's score (0 when the position is already drawn: nothing is searched then).
int16_t IterativeDeepening();
