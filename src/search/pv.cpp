#include "search/pv.h"

#include <cstdio>
#include <cstring>

#include "board/move.h"
#include "board/score.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "search/transtable.h"

namespace {

constexpr int16_t NO_SCORE = INFINITE_SCORE;

struct LogWriter {
  char* out;
  char* end;

  void append(const char* text) {
    if (!out) return;
    size_t room = size_t(end - out);
    size_t n = std::strlen(text);
    if (n >= room) n = room - 1;
    std::memcpy(out, text, n);
    out += n;
    *out = '\0';
  }
};

void appendMarker(LogWriter& w, const TransEntry& e) {
  char text[64];
  Move m = entryMove(e);
  switch (m) {
    case MARK_MATED: w.append("# "); return;
    case MARK_STALEMATE: w.append("1/2 - 1/2 (stalemate)"); return;
    case MARK_REPETITION: w.append("1/2 - 1/2 (repetition)"); return;
    case NULL_MOVE: w.append("NULL"); return;
    case MARK_STAND_PAT: std::snprintf(text, sizeof text, "QS(%d)", entryScore(e)); break;
    case MARK_BITBASE: w.append("EGBB"); return;
    default:
      std::snprintf(text, sizeof text, "ERROR: %d, d:%d, sc:%d, st:%d ts:%d", int(m), entryDepth(e),
                    entryScore(e), int(e.word2 & 0x180), entryAge(e));
  }
  w.append(text);
}

}  // namespace

int16_t BuildPv(Position& pos, const TransTable& table, int n, Move first, PrincipalVariation& pv, char* logText) {
  pv.count = 0;
  LogWriter w = {logText, logText ? logText + PV_BUFFER_SIZE : nullptr};
  if (logText) logText[0] = '\0';
  if (n <= 0) return NO_SCORE;
  int16_t rootScore = NO_SCORE;
  for (int ply = 0; ply < n && ply < PV_MAX_MOVES; ++ply) {
    TransEntry e;
    const bool found = table.probe(pos.hashKey, pos.sideToMove, e);
    if (ply == 0) rootScore = found ? int16_t(entryScore(e)) : NO_SCORE;
    const Move m = ply == 0 && first ? first : found ? entryMove(e) : Move(MOVE_NONE);
    if (!found && !m) {
      w.append("NOE ");
      break;
    }
    if (m == MOVE_NONE || moveType(m) == MARKER) {
      if (found) appendMarker(w, e);
      break;
    }
    if (pos.historyTop >= pos.history + HISTORY_SIZE - 1 || !isLegalMove(pos, m)) break;
    char text[8];
    char* tail = MoveToText(m, text);
    tail[0] = ' ';
    tail[1] = '\0';
    w.append(text);
    pv.moves[pv.count++] = m;
    makeMove(pos, m);
  }
  for (int i = pv.count - 1; i >= 0; --i) unmakeMove(pos, pv.moves[i]);
  return rootScore;
}
