// The capture search at the horizon.
#pragma once
#include <cstdint>

#include "search/search_state.h"

// Captures (or evasions, where the line has met a check) with a stand-pat bound, at record r;
// qdepth counts the capture levels down from 0.
int16_t QuiesceNode(SearchState& s, PlyRecord* r, int qdepth, int ply, int alpha, int beta);
