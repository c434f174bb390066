// The capture search at the horizon.
#pragma once
#include <cstdint>

// Captures (or evasions, where the line has met a check) with a stand-pat bound; qdepth counts
// the capture levels down from 0.
int16_t QuiesceNode(int qdepth, int ply, int alpha, int beta);
