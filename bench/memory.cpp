// Peak resident size of the whole process with a transposition table of the given size (in MB,
// default the engine's), once every page of it and of the pawn cache has been touched and a few
// searches have run on it; the table's own share and what is left for the rest.
//   bench_memory [megabytes]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "board/fen.h"
#include "board/tables.h"
#include "eval/piece_tables.h"
#include "search/lone_search.h"

namespace {

// VmHWM from /proc/self/status in kB, or -1 when it cannot be read.
long PeakResidentKb() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return -1;
  char line[256];
  long kb = -1;
  while (std::fgets(line, sizeof line, status))
    if (std::strncmp(line, "VmHWM:", 6) == 0) std::sscanf(line + 6, "%ld", &kb);
  std::fclose(status);
  return kb;
}

}  // namespace

int main(int argc, char** argv) {
  const size_t megabytes = argc > 1 ? size_t(std::strtoul(argv[1], nullptr, 10)) : TT_DEFAULT_MEGABYTES;
  InitTables();
  InitPieceSquareTables();
  auto search = std::make_unique<LoneSearch>(megabytes);
  const TransTable& table = search->table;
  if (table.megabytes() != megabytes) {
    std::printf("a table of %zu MB cannot be had\n", megabytes);
    return 1;
  }
  uint64_t nodes = 0;
  for (const char* fen : {START_FEN, "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 w - -"}) {
    SetupPosition(search->pos(), fen);
    ResetSearchState(*search->state);
    search->limitDepth(8);
    IterativeDeepening(*search->state);
    nodes += search->state->nodeCount;
  }
  const long peak = PeakResidentKb();
  if (peak < 0) {
    std::printf("cannot read VmHWM from /proc/self/status\n");
    return 1;
  }
  const long tableKb = long(table.megabytes()) * 1024, pawnKb = long(PAWN_CACHE_MEGABYTES) * 1024;
  std::printf("hash %zu MB: transposition table %ld kB, pawn cache %ld kB, searched %llu nodes\n", table.megabytes(),
              tableKb, pawnKb, (unsigned long long)nodes);
  std::printf("peak resident %ld kB (%.1f MB): tables %ld kB, the rest %ld kB\n", peak, peak / 1024.0,
              tableKb + pawnKb, peak - tableKb - pawnKb);
  return 0;
}
