// Peak resident size of the whole process once every page of the transposition table and the
// pawn cache has been touched, against the 32 MB limit.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "board/fen.h"
#include "board/tables.h"
#include "eval/piece_tables.h"
#include "eval/evaluate.h"
#include "eval/pawn_cache.h"
#include "search/transtable.h"

namespace {

constexpr long LIMIT_KB = 32 * 1024;

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

int main() {
  InitTables();
  InitPieceSquareTables();
  ClearHashTables();
  ClearPawnCache();
  int64_t checksum = 0;
  for (const char* fen : {START_FEN, "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 w - -"}) {
    SetupPosition(fen);
    checksum += Evaluate();
  }
  long peak = PeakResidentKb();
  if (peak < 0) {
    std::printf("cannot read VmHWM from /proc/self/status\n");
    return 1;
  }
  std::printf("transposition table %zu kB, pawn cache %zu kB\n", sizeof transTable / 1024, sizeof pawnCache / 1024);
  std::printf("peak resident %ld kB (%.1f MB), limit %ld kB (32 MB): %s\n", peak, peak / 1024.0, LIMIT_KB,
              peak <= LIMIT_KB ? "ok" : "OVER");
  std::printf("checksum %lld\n", static_cast<long long>(checksum));
  return peak <= LIMIT_KB ? 0 : 1;
}
