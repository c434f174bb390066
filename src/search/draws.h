// Draw recognition on the history stack.
#pragma once
#include "board/position.h"
#include "board/types.h"

// 0 or a marker (MARK_MATERIAL, MARK_FIFTY, MARK_REPETITION). mode 1: one earlier occurrence is
// a repetition (inside the search); mode 2: two are needed (root and game).
Move DrawTest(const Position& pos, int mode);

// How often the position after a quiet piece move already occurred: 0, 1 or 2.
int WouldRepeat(const Position& pos, Move m);
