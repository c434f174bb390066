#include "book/book_move.h"

#include "board/position.h"
#include "book/book_files.h"
#include "book/book_probe.h"
#include "io/clock.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"

namespace {

constexpr int CANDIDATES_MAX = 256;

struct Candidates {
  Move moves[CANDIDATES_MAX];
  int count = 0;
  void add(Move m) {
    if (count < CANDIDATES_MAX) moves[count++] = m;
  }
  // No weights: the process clock picks among the candidates.
  Move pick(unsigned t) const { return moves[t % unsigned(count)]; }
};

}  // namespace

Move getBookMove() {
  const int us = pos.sideToMove, them = us ^ 1;  // the book side probed is the one to move after our move

  BookSide& secondSide = books.second.sides[them];
  if (secondSide.recordCount == 0) loadBookDeferred(books.second, us);
  const bool useSecond = secondSide.recordCount > 0;

  BookSide& mainSide = books.main.sides[them];
  if (mainSide.recordCount == 0) loadBookDeferred(books.main, us);
  if (mainSide.recordCount == 0) return 0;

  PlyRecord* ply = plies.current;
  MoveEntry* start = ply == plies.records ? moveStack : (ply - 1)->listEnd;
  computeCheckInfo(ply);
  MoveEntry* end = generateMoves(start, ply);
  ply->listEnd = end;
  if (end == start) return 0;

  saveSnapshot(ply);
  Candidates fromSecond, fromMain;
  for (MoveEntry* e = end; e-- != start;) {
    Move m = e->move;
    makeMove(m, ply);
    // Only a legal move may lead to a book position; castling through check is caught here too.
    if (!kingAttackedAfter(m, us)) {
      if (useSecond && bookContains(secondSide, pos.hashKey)) fromSecond.add(m);
      if (bookContains(mainSide, pos.hashKey)) fromMain.add(m);
    }
    unmakeMove(m, ply);
  }

  unsigned t = unsigned(processClock());
  if (fromSecond.count) return fromSecond.pick(t);
  if (fromMain.count) return fromMain.pick(t);
  return 0;
}
