#include "search/draws.h"

#include "board/move.h"
#include "board/position.h"
#include "board/zobrist.h"

namespace {

// Counts earlier occurrences of key, stepping back two plies at a time from the entry at index
// start, while the walk stays inside the reversible stretch and inside the history stack (a long
// game may have dropped its oldest entries). Stops once limit matches are found.
int countRepetitions(const Position& pos, int start, HashKey key, int limit) {
  if (start < 0) return 0;
  int found = 0;
  for (int i = start, left = pos.history[start].reversibleCount; i >= 0 && left >= 0;
       i -= 2, left -= 2) {
    if (pos.history[i].key == key && ++found == limit) break;
  }
  return found;
}

int topIndex(const Position& pos) { return int(pos.historyTop - pos.history); }

}  // namespace

Move DrawTest(const Position& pos, int mode) {
  if (pos.totalMaterial <= 3 && pos.pawnCount[WHITE] == 0 && pos.pawnCount[BLACK] == 0)
    return MARK_MATERIAL;
  int c = pos.historyTop->reversibleCount;
  if (c < 4) return 0;
  if (c >= 100) return MARK_FIFTY;
  // Positions an odd number of plies back have the other side to move, and two plies back cannot
  // repeat, so the walk starts four plies back.
  return countRepetitions(pos, topIndex(pos) - 4, pos.historyTop->key, mode) >= mode ? MARK_REPETITION
                                                                              : MOVE_NONE;
}

int WouldRepeat(const Position& pos, Move m) {
  if (moveType(m) != QUIET) return 0;
  Piece piece = pos.board[moveFrom(m)];
  if (piece == EMPTY || isPawn(piece)) return 0;
  // The prospective entry is kept here rather than written above the top of the stack, which may
  // be the stack's last entry.
  int c = pos.historyTop->reversibleCount + 1;
  HashKey key = pos.historyTop->key ^ ZobristKeys[piece][moveFrom(m)] ^ ZobristKeys[piece][moveTo(m)];
  if (c <= 3) return 0;
  if (c >= 100) return 2;
  if (c > 75) return 1;
  // Two plies back from the prospective entry is one ply back from the top.
  return countRepetitions(pos, topIndex(pos) - 1, key, 2);
}
