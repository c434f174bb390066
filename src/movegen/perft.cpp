#include "movegen/perft.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>

#include "board/position.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"
#include "movegen/ply.h"

namespace {
#ifdef DORVIK_FUZZ
constexpr int MAX_PERFT_DEPTH = 3;  // a fuzzing build keeps every command short
#else
constexpr int MAX_PERFT_DEPTH = 127;
#endif

long long milliseconds() {
  using namespace std::chrono;
  return duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

uint32_t perftMovesMade;

uint64_t perft(int depth) {
  PlyRecord* r = plies.current;
  const int side = pos.sideToMove;
  computeCheckInfo(r);
  MoveEntry* start = (r - 1)->listEnd;
  r->listEnd = generateMoves(start, r);
  saveSnapshot(r);
  uint64_t count = 0;
  for (r->cursor = start; r->cursor < r->listEnd; ++r->cursor) {
    const Move m = r->cursor->move;
    ++perftMovesMade;
    makeMove(m, r);
    plies.current = r + 1;
    if (!kingAttackedAfter(m, side)) {
      ++count;
      if (depth > 1) count += perft(depth - 1);
    }
    plies.current = r;
    unmakeMove(m, r);
  }
  return count;
}

void runPerft(int depth) {
  if (depth > MAX_PERFT_DEPTH) depth = MAX_PERFT_DEPTH;
  plies.current->listEnd = moveStack;
  perftMovesMade = 0;
  ++plies.current;
  std::printf("ply\tduration\tnodes\n");
  uint64_t total = 0;
  for (int d = 1; d <= depth; ++d) {
    long long begin = milliseconds();
    uint64_t count = perft(d);
    long long end = milliseconds();
    std::printf("%d\t%2.1f\t%" PRIu64 "\n", d, double(end - begin) * 0.001, count);
    total += count;
  }
  --plies.current;
  std::printf("total nodes: %" PRIu64 "\n(total moves[32]: %u)\n", total, perftMovesMade);
}
