// The principal-variation alpha-beta search below the root.
#pragma once
#include <cstdint>

#include "search/search_state.h"

// Searches the thread's position at record r with `depth` plies left, `ply` plies from the root,
// in the window (alpha, beta); nullAllowed is non-zero where a null move may be tried.
int16_t SearchNode(SearchState& s, PlyRecord* r, int depth, int ply, int alpha, int beta, int nullAllowed);
