#include "search/ordering.h"

#include <algorithm>
#include <cstring>

#include "board/move.h"
#include "board/position.h"
#include "board/score.h"

void ResetHistoryTables(HistoryTables& history) {
  std::memset(history.fromTo, 0, sizeof history.fromTo);
  std::fill(&history.good[0][0], &history.good[0][0] + 12 * 64, 1);
  std::fill(&history.tried[0][0], &history.tried[0][0] + 12 * 64, 1);
}

void liftHashAndKillers(MoveEntry* begin, MoveEntry* end, const PlyRecord* ply, bool wholeList) {
  for (MoveEntry* e = begin; e < end; ++e) {
    if (!wholeList && e->score >= matedIn(1)) continue;
    if (e->move == ply->hashMove) e->score = 30000;
    else if (e->move == ply->killer1) e->score = -9998;
    else if (e->move == ply->killer2) e->score = -9999;
  }
}

void liftQuiescenceMoves(MoveEntry* begin, MoveEntry* end, const PlyRecord* ply) {
  for (MoveEntry* e = begin; e < end; ++e) {
    if (e->score >= matedIn(1)) continue;
    if (e->move == ply->hashMove) e->score = 30000;
    else if (e->move == ply->killer1) e->score = int16_t(e->score + 1500);
    else if (e->move == ply->killer2) e->score = int16_t(e->score + 1000);
  }
}

// The maxima are found without branches (conditional moves): which move wins a comparison is
// hard to predict, and a missed branch costs more than the few instructions.
void selectByScore(MoveEntry* cursor, MoveEntry* end) {
  MoveEntry* best = cursor;
  int bestScore = cursor->score;
  for (MoveEntry* e = cursor + 1; e < end; ++e) {
    bool better = e->score > bestScore;
    best = better ? e : best;
    bestScore = better ? e->score : bestScore;
  }
  std::swap(*cursor, *best);
}

void selectNextMove(const HistoryTables& history, MoveEntry* cursor, MoveEntry* end, uint32_t* keys, bool& byHistory,
                    int side) {
  if (!byHistory) {
    selectByScore(cursor, end);
    if (cursor->score >= -10000) return;
    byHistory = true;
    for (MoveEntry* e = cursor; e < end; ++e)
      keys[e - cursor] = uint32_t(history.fromTo[side][e->move & 0xFFF] + e->score + 33000);
  }
  size_t n = size_t(end - cursor), best = 0;
  uint32_t bestKey = keys[0];
  for (size_t i = 1; i < n; ++i) {
    bool better = keys[i] > bestKey;
    best = better ? i : best;
    bestKey = better ? keys[i] : bestKey;
  }
  std::swap(cursor[0], cursor[best]);
  std::swap(keys[0], keys[best]);
}

void updateKillers(PlyRecord* ply, Move m) {
  if (m != ply->killer1) {
    ply->killer2 = ply->killer1;
    ply->killer1 = m;
  }
}

void recordCutoff(HistoryTables& history, const Position& pos, PlyRecord* ply, MoveEntry* begin, MoveEntry* cutoff,
                  int depth, bool countEarlier) {
  Move m = cutoff->move;
  int type = moveType(m);
  if (type == QUIET || type >= BLACK_CASTLE_SHORT) updateKillers(ply, m);
  history.fromTo[pos.sideToMove][m & 0xFFF] += depth * depth;

  int row = pos.board[moveFrom(m)] - 1;
  Square to = moveTo(m);
  if (history.tried[row][to] == ~uint64_t(0)) {
    for (int p = 0; p < 12; ++p)
      for (int sq = 0; sq < 64; ++sq) {
        history.good[p][sq] >>= 2;
        history.tried[p][sq] >>= 2;
      }
  }
  ++history.good[row][to];
  ++history.tried[row][to];
  if (!countEarlier) return;
  for (MoveEntry* e = begin; e < cutoff; ++e)
    if (e->score >= matedIn(1)) ++history.tried[pos.board[moveFrom(e->move)] - 1][moveTo(e->move)];
}

bool lowHistorySuccess(const HistoryTables& history, Piece p, Square to) {
  uint64_t tried = history.tried[p - 1][to];
  return tried <= 1 || history.good[p - 1][to] * 100 / tried < 60;
}
