// Perft speed on the six standard positions: moves made per second, with every leaf made,
// tested and unmade. Checks each depth against the published leaf counts.
#include <time.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "board/fen.h"
#include "board/tables.h"
#include "eval/piece_tables.h"
#include "movegen/perft.h"

namespace {

struct PerftCase {
  const char* fen;
  std::vector<uint64_t> leaves;  // leaf counts per depth from 1
};

const PerftCase Cases[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", {20, 400, 8902, 197281, 4865609, 119060324}},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", {48, 2039, 97862, 4085603, 193690690}},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", {14, 191, 2812, 43238, 674624}},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -", {6, 264, 9467, 422333, 15833292}},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -", {44, 1486, 62379, 2103487, 89941194}},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
     {46, 2079, 89890, 3894594, 164075551}},
};

// CPU time of this thread: on a machine shared with other work the wall clock overstates the time.
double cpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + t.tv_nsec * 1e-9;
}

}  // namespace

int main(int argc, char** argv) {
  // An optional argument caps the depth, for a quick run.
  int maxDepth = argc > 1 ? std::atoi(argv[1]) : 99;
  InitTables();
  InitPieceSquareTables();
  bool allRight = true;
  uint64_t allMoves = 0;
  double allSeconds = 0, allCpu = 0;
  Position pos;
  for (const PerftCase& c : Cases) {
    if (!SetupPosition(pos, c.fen)) {
      std::printf("refused: %s\n", c.fen);
      return 1;
    }
    int depth = std::min<int>(maxDepth, int(c.leaves.size()));
    uint64_t expected = 0, moves = 0;
    double seconds = 0, cpu = 0;
    for (int d = 1; d <= depth; ++d) {
      expected += c.leaves[d - 1];
      auto begin = std::chrono::steady_clock::now();
      double cpuBegin = cpuSeconds();
      const PerftCount count = perft(pos, d);
      const uint64_t got = count.paths;
      cpu += cpuSeconds() - cpuBegin;
      seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
      moves += count.made;
      if (got != expected) {
        std::printf("depth %d: %" PRIu64 " (expected %" PRIu64 ")  %s\n", d, got, expected, c.fen);
        allRight = false;
      }
    }
    std::printf("%-72s depth %d  %11" PRIu64 " moves  %6.2f s  %6.2f M/s wall  %6.2f M/s cpu\n", c.fen, depth,
                moves, seconds, moves / seconds / 1e6, moves / cpu / 1e6);
    allMoves += moves;
    allSeconds += seconds;
    allCpu += cpu;
  }
  std::printf("all: %" PRIu64 " moves made in %.2f s wall, %.2f s cpu: %.2f million per second wall, %.2f cpu; counts %s\n",
              allMoves, allSeconds, allCpu, allMoves / allSeconds / 1e6, allMoves / allCpu / 1e6,
              allRight ? "right" : "WRONG");
  return allRight ? 0 : 1;
}
