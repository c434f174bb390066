// The principal variation, read from the transposition table.
#pragma once
#include <cstdint>

#include "board/types.h"

// Room BuildPv's buffer must have: twelve moves and the longest marker text fit with space to spare;
// longer lines are cut where the next move would not fit.
inline constexpr int PV_BUFFER_SIZE = 256;

// The longest line BuildPv reports as moves.
inline constexpr int PV_MAX_MOVES = 12;

// Writes at most n table moves from the current position into a buffer of PV_BUFFER_SIZE chars;
// returns the root entry's score, or INFINITE_SCORE when n is 0 or there is no entry. A non-zero
// `first` is written and played in place of the root's table move (the search's own choice may
// differ from an older, deeper entry the table kept). When `moves` is given (PV_MAX_MOVES slots) it
// receives the moves written, zero after the last.
int16_t BuildPv(char* buffer, int n, Move first = 0, Move* moves = nullptr);
