#include "movegen/perft.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <vector>

#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"

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

// Each level generates into the room after its parent's list.
uint64_t countPaths(Position& pos, int depth, MoveEntry* list, uint64_t& made) {
  const int side = pos.sideToMove;
  CheckInfo info;
  computeCheckInfo(pos, &info);
  MoveEntry* end = generateMoves(pos, list, &info);
  uint64_t count = 0;
  for (MoveEntry* e = list; e < end; ++e) {
    const Move m = e->move;
    ++made;
    makeMove(pos, m);
    if (!kingAttackedAfter(pos, m, side)) {
      ++count;
      if (depth > 1) count += countPaths(pos, depth - 1, end, made);
    }
    unmakeMove(pos, m);
  }
  return count;
}

}  // namespace

PerftCount perft(Position& pos, int depth) {
  PerftCount result = {0, 0};
  if (depth < 1) return result;
  std::vector<MoveEntry> room(size_t(depth) * MAX_GENERATED_MOVES);
  result.paths = countPaths(pos, depth, room.data(), result.made);
  return result;
}

void runPerft(Position& pos, int depth) {
  if (depth > MAX_PERFT_DEPTH) depth = MAX_PERFT_DEPTH;
  std::printf("ply\tduration\tnodes\n");
  uint64_t total = 0, made = 0;
  for (int d = 1; d <= depth; ++d) {
    long long begin = milliseconds();
    PerftCount count = perft(pos, d);
    long long end = milliseconds();
    std::printf("%d\t%2.1f\t%" PRIu64 "\n", d, double(end - begin) * 0.001, count.paths);
    total += count.paths;
    made += count.made;
  }
  std::printf("total nodes: %" PRIu64 "\n(total moves[32]: %u)\n", total, uint32_t(made));
}
