// The principal-variation alpha-beta search below the root.
#pragma once
#include <cstdint>

// Searches the working position with `depth` plies left, `ply` plies from the root, in the window
// (alpha, beta); nullAllowed is non-zero where a null move may be tried.
int16_t SearchNode(int depth, int ply, int alpha, int beta, int nullAllowed);
