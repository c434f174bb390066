// The principal variation, read from the transposition table.
#pragma once
#include <cstdint>

#include "board/position.h"
#include "board/types.h"

class TransTable;

// The longest line reported.
inline constexpr int PV_MAX_MOVES = 12;
// Room for the log's text of a line: twelve moves and the longest marker text with space to spare.
inline constexpr int PV_BUFFER_SIZE = 256;

// A line of legal moves, each legal in the position the ones before it lead to.
struct PrincipalVariation {
  Move moves[PV_MAX_MOVES];
  int count;
};

// Follows the table's moves from the position, at most n of them (the position is left as it was),
// and returns the root entry's score, or INFINITE_SCORE when n is 0 or there is no entry. A
// non-zero `first` is played in place of the root's table move (the search's own choice may differ
// from an older, deeper entry the table kept). The line stops before a move that is not legal
// where it stands (a key collision can bring one). When logText is given (PV_BUFFER_SIZE chars) it
// receives the line as the log shows it: the moves, then the table's marker where the line ends.
int16_t BuildPv(Position& pos, const TransTable& table, int n, Move first, PrincipalVariation& pv,
                char* logText = nullptr);
