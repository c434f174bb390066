// The root of one iteration.
#pragma once
#include <cstdint>

#include "search/search_state.h"

// Searches every root move at s.iterationDepth in the window (alpha, beta); the best move is left
// in the first ply record's bestMove and the result stored in the table.
int16_t RootSearch(SearchState& s, int alpha, int beta);
