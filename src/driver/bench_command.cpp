#include "driver/bench_command.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "board/fen.h"
#include "board/tables.h"
#include "eval/piece_tables.h"
#include "search/lone_search.h"

namespace {

struct BenchCase {
  const char* fen;
  int depth;
};

const BenchCase BenchCases[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 8},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 6},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -", 7},
    {"2rb1rk1/p4p2/2n3p1/q2NpPP1/2p5/P1Q1PP2/1P1R4/2K4R w - -", 7},
    {"r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ -", 7},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 10},
    {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -", 10},
};

}  // namespace

int RunSearchBench(int depth) {
  InitTables();
  InitPieceSquareTables();
  // One search thread with the engine's default tables; every position starts from empty tables.
  auto search = std::make_unique<LoneSearch>();
  SearchState* state = search->state.get();

  uint64_t totalNodes = 0, totalMoves = 0;
  double totalSeconds = 0;
  std::printf("%-70s %5s %10s %12s %8s %10s\n", "position", "depth", "nodeCount", "moves made", "seconds", "moves/s");
  for (const BenchCase& c : BenchCases) {
    const int caseDepth = depth > 0 ? depth : c.depth;
    SetupPosition(state->pos, c.fen);
    search->table.clear();
    search->pawnCache->clear();
    ResetSearchState(*state);
    search->limitDepth(caseDepth);
    auto start = std::chrono::steady_clock::now();
    IterativeDeepening(*state);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-70s %5d %10llu %12llu %8.3f %10.0f\n", c.fen, caseDepth, (unsigned long long)state->nodeCount,
                (unsigned long long)state->movesMade, seconds, state->movesMade / seconds);
    totalNodes += state->nodeCount;
    totalMoves += state->movesMade;
    totalSeconds += seconds;
  }
  std::printf("signature (total nodeCount): %llu\n", (unsigned long long)totalNodes);
  std::printf("total moves made: %llu in %.3f s: %.0f moves/s (target 2000000)\n", (unsigned long long)totalMoves,
              totalSeconds, totalMoves / totalSeconds);
  std::printf("%llu nodes %.0f nps\n", (unsigned long long)totalNodes, totalNodes / totalSeconds);
  return 0;
}
