// The root of one iteration.
#pragma once
#include <cstdint>

// Searches every root move at search.iterationDepth in the window (alpha, beta); the best move is
// left in the first ply record's bestMove and the result stored in the table.
int16_t RootSearch(int alpha, int beta);
