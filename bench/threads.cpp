// Nodes per second of the search on one thread and on two, over the positions of the fixed-depth
// bench, each searched for a fixed time; several runs, with the median and the spread of the
// ratio.
//   bench_threads [milliseconds per position] [runs] [threads]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "board/tables.h"
#include "engine/engine.h"
#include "eval/piece_tables.h"

namespace {

const char* const Positions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
    "2rb1rk1/p4p2/2n3p1/q2NpPP1/2p5/P1Q1PP2/1P1R4/2K4R w - -",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ -",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -",
};

// Nodes per second over all positions with the given number of threads.
double speed(Engine& engine, int threads, int milliseconds) {
  engine.setThreads(threads);
  uint64_t nodes = 0;
  int64_t time = 0;
  std::mutex m;
  engine.setHooks({[&](const IterationReport& r) {
                     std::lock_guard<std::mutex> lock(m);
                     if (r.kind == ReportKind::CLOSING) nodes += r.nodes, time += r.milliseconds;
                   },
                   nullptr});
  for (const char* fen : Positions) {
    engine.setUp(fen);
    SearchRequest request;
    request.moveTime = milliseconds;
    engine.go(request);
    engine.wait();
  }
  return time > 0 ? double(nodes) * 1000 / double(time) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int milliseconds = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const int threads = argc > 3 ? std::atoi(argv[3]) : 2;
  InitTables();
  InitPieceSquareTables();
  Engine engine;
  engine.setMoveOverhead(0);
  std::vector<double> ratios;
  std::printf("%4s %14s %14s %7s\n", "run", "1 thread n/s", "threads n/s", "ratio");
  for (int run = 1; run <= runs; ++run) {
    const double one = speed(engine, 1, milliseconds), many = speed(engine, threads, milliseconds);
    ratios.push_back(many / one);
    std::printf("%4d %14.0f %14.0f %7.3f\n", run, one, many, many / one);
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("%d threads against 1, %d runs of %d ms a position: median ratio %.3f, from %.3f to %.3f\n", threads,
              runs, milliseconds, ratios[ratios.size() / 2], ratios.front(), ratios.back());
  return 0;
}
