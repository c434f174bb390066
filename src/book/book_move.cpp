#include "book/book_move.h"

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

Move getBookMove(Position& pos, BookPair& books) {
  const int us = pos.sideToMove, them = us ^ 1;  // the book side probed is the one to move after our move

  BookSide& secondSide = books.second.sides[them];
  if (secondSide.recordCount == 0) loadBookDeferred(books.second, us);
  const bool useSecond = secondSide.recordCount > 0;

  BookSide& mainSide = books.main.sides[them];
  if (mainSide.recordCount == 0) loadBookDeferred(books.main, us);
  if (mainSide.recordCount == 0) return 0;

  MoveEntry list[MAX_GENERATED_MOVES];
  CheckInfo info;
  computeCheckInfo(pos, &info);
  MoveEntry* end = generateMoves(pos, list, &info);

  Candidates fromSecond, fromMain;
  for (MoveEntry* e = end; e-- != list;) {
    Move m = e->move;
    makeMove(pos, m);
    // Only a legal move may lead to a book position; castling through check is caught here too.
    if (!kingAttackedAfter(pos, m, us)) {
      if (useSecond && bookContains(secondSide, pos.hashKey)) fromSecond.add(m);
      if (bookContains(mainSide, pos.hashKey)) fromMain.add(m);
    }
    unmakeMove(pos, m);
  }

  unsigned t = unsigned(steadyMilliseconds());
  if (fromSecond.count) return fromSecond.pick(t);
  if (fromMain.count) return fromMain.pick(t);
  return 0;
}
