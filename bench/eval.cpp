// Evaluations per second over fixed middlegame positions, with a cold and with a warm pawn cache.
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "board/fen.h"
#include "board/tables.h"
#include "eval/piece_tables.h"
#include "eval/evaluate.h"
#include "eval/pawn_cache.h"
#include "eval/pawn_structure.h"

namespace {

const char* const Positions[] = {
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq -",
    "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 w - -",
    "r2q1rk1/pp2bppp/2n1pn2/3p4/3P4/2NBPN2/PP3PPP/R2Q1RK1 w - -",
    "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/2P2N1P/PPB2PP1/RNBQR1K1 w - -",
    "2rq1rk1/pp1bbppp/2n1pn2/3p4/2PP4/P1N1PN2/1P1BBPPP/2RQ1RK1 b - -",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
    "3r1rk1/p1q2ppp/1pn1p3/2p5/2P1P3/P1Q1BP2/4B1PP/3R1RK1 b - -",
    "r3k2r/pbpnqpb1/1p1pp1pp/8/2PP4/2N1PN2/PP2BPPP/R2Q1RK1 w kq -",
    "rnbqk2r/pp2ppbp/3p1np1/8/3NP3/2N1B3/PPP2PPP/R2QKB1R w KQkq -",
    "r2qr1k1/1b1nbppp/p2p1n2/1p2p3/3PP3/1BN2N1P/PP3PP1/R1BQR1K1 w - -",
};
constexpr int POSITIONS = sizeof Positions / sizeof Positions[0];
constexpr int ROUNDS = 200000;

// Evaluates every position ROUNDS times; with cold set, the position's cache slot is emptied
// before each call so that the pawn structure is computed every time.
double EvaluationsPerSecond(bool cold, int64_t& checksum) {
  double seconds = 0;
  Position pos;
  auto pawnCache = std::make_unique<PawnCache>();
  for (const char* fen : Positions) {
    SetupPosition(pos, fen);
    const uint32_t slot = PawnCacheKey(pos) & PAWN_CACHE_INDEX_MASK;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < ROUNDS; ++i) {
      if (cold) pawnCache->entries[slot].store(0, std::memory_order_relaxed);
      checksum += Evaluate(pos, *pawnCache);
    }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  return double(POSITIONS) * ROUNDS / seconds;
}

}  // namespace

int main() {
  InitTables();
  InitPieceSquareTables();
  int64_t checksum = 0;
  double cold = EvaluationsPerSecond(true, checksum);
  double warm = EvaluationsPerSecond(false, checksum);
  std::printf("positions %d, %d evaluations each\n", POSITIONS, ROUNDS);
  std::printf("cold pawn cache: %.0f evaluations/s\n", cold);
  std::printf("warm pawn cache: %.0f evaluations/s\n", warm);
  std::printf("checksum %" PRId64 "\n", checksum);
  return 0;
}
