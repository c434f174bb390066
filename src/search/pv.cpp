#include "search/pv.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "board/move.h"
#include "board/position.h"
#include "board/score.h"
#include "movegen/make_move.h"
#include "movegen/ply.h"
#include "movegen/validate.h"
#include "search/transtable.h"

namespace {

constexpr int16_t NO_SCORE = INFINITE_SCORE;
constexpr int MOVE_TEXT_ROOM = 7;  // "e7e8q " and the terminating zero

struct PvWriter {
  char* out;
  char* end;
  Move* moves;  // the moves written, when wanted
  int count;

  void append(const char* text) {
    size_t room = size_t(end - out);
    size_t n = std::strlen(text);
    if (n >= room) n = room - 1;
    std::memcpy(out, text, n);
    out += n;
    *out = '\0';
  }
};

void appendMarker(PvWriter& w, const TransEntry& e) {
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

// Writes the line from the current position, making its moves on ply and the records after it.
// A non-zero `first` is played from the current position in place of its table move.
int16_t appendLine(PvWriter& w, int n, PlyRecord* ply, Move first) {
  const TransEntry* e = FindEntry();
  if (!e && !first) {
    w.append("NOE ");
    return NO_SCORE;
  }
  int16_t score = e ? int16_t(entryScore(*e)) : NO_SCORE;
  Move m = first ? first : entryMove(*e);
  if (m == 0 || moveType(m) == MARKER) {
    if (e) appendMarker(w, *e);
    return score;
  }
  // A key collision can leave a move that does not fit this position; the line ends before it
  // rather than corrupt the position. So it does where the buffer, the ply records or the
  // history stack would run out.
  if (w.end - w.out < MOVE_TEXT_ROOM || !isPseudoLegal(m)) return score;
  char text[8];
  char* tail = MoveToText(m, text);
  tail[0] = ' ';
  tail[1] = '\0';
  w.append(text);
  if (w.moves && w.count < PV_MAX_MOVES) w.moves[w.count++] = m;
  bool roomToMake = ply < plies.records + PLY_STACK_SIZE &&
                    pos.historyTop < pos.history + HISTORY_SIZE - 1;
  if (n > 1 && roomToMake) {
    saveSnapshot(ply);
    makeMove(m, ply);
    appendLine(w, n - 1, ply + 1, MOVE_NONE);
    unmakeMove(m, ply);
  }
  return score;
}

}  // namespace

int16_t BuildPv(char* buffer, int n, Move first, Move* moves) {
  buffer[0] = '\0';
  if (moves) std::fill(moves, moves + PV_MAX_MOVES, MOVE_NONE);
  if (n <= 0) return NO_SCORE;
  PvWriter w = {buffer, buffer + PV_BUFFER_SIZE, moves, 0};
  return appendLine(w, n, plies.current + 1, first);
}
