// How fast the time rules spend the clock: the share of a sudden-death clock used after moves 40,
// 60, 80 and 120 when every move spends exactly its optimum, and the clock at 10 s + 0.1 s, beside
// the same for Stockfish's published rules. No front end charges anything here.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>

#include "engine/time_manager.h"

namespace {

constexpr int CHECKPOINTS[] = {40, 60, 80, 120};
constexpr int LAST_MOVE = 120;

// Stockfish's rules as its src/timeman.cpp (TimeManagement::init) publishes them, with pondering
// off, for this comparison only. Its optimum is further scaled by its search's stability factors,
// as ours is by search/time_rules.
struct StockfishRules {
  static constexpr int64_t MOVE_OVERHEAD = 10;  // its default "Move Overhead"
  double originalTimeAdjust = -1;               // set on the first move of a game

  int64_t optimum(int64_t time, int64_t inc, int ply) {
    int mtg = 50;
    if (time < 1000) mtg = int(double(time) * 0.05);
    double timeLeft = std::max(1.0, double(time + inc * (mtg - 1) - MOVE_OVERHEAD * (2 + mtg)));
    if (originalTimeAdjust < 0) originalTimeAdjust = 0.3272 * std::log10(timeLeft) - 0.4141;
    double logTimeInSec = std::log10(double(time) / 1000.0);
    double optConstant = std::min(0.0029869 + 0.00033554 * logTimeInSec, 0.004905);
    double optScale =
        std::min(0.012112 + std::pow(ply + 3.22713, 0.46866) * optConstant, 0.19404 * double(time) / timeLeft) *
        originalTimeAdjust;
    return int64_t(std::max(1.0, optScale * timeLeft));
  }
};

int64_t dorvikOptimum(int64_t time, int64_t inc, int ply) {
  return AllocateTime({time, inc, 0, ply, DEFAULT_MOVE_OVERHEAD}).optimum;
}

// The clock after each checkpoint of a game of the engine's moves (plies 0, 2, 4...), every move
// spending its optimum; a clock the rules overspend stays at 0.
template <typename Optimum>
void playGame(int64_t base, int64_t inc, Optimum optimum, int64_t (&clocks)[std::size(CHECKPOINTS)]) {
  int64_t clock = base;
  size_t next = 0;
  for (int move = 1; move <= LAST_MOVE; ++move) {
    clock = std::max<int64_t>(clock - optimum(clock, inc, 2 * (move - 1)), 0) + inc;
    if (next < std::size(CHECKPOINTS) && move == CHECKPOINTS[next]) clocks[next++] = clock;
  }
}

template <typename Optimum>
void printRow(const char* control, const char* rules, int64_t base, int64_t inc, Optimum optimum) {
  int64_t clocks[std::size(CHECKPOINTS)];
  playGame(base, inc, optimum, clocks);
  std::printf("%-14s %-40s", control, rules);
  for (size_t i = 0; i < std::size(CHECKPOINTS); ++i) {
    double received = double(base + inc * CHECKPOINTS[i]);
    if (inc)
      std::printf(" %5.0f%% %5lld ms", 100 * (1 - double(clocks[i]) / received), (long long)clocks[i]);
    else
      std::printf(" %6.0f%%", 100 * (1 - double(clocks[i]) / received));
  }
  std::printf("\n");
}

void printControl(const char* control, int64_t base, int64_t inc) {
  char ours[64];
  std::snprintf(ours, sizeof ours, "Dorvik (Move Overhead %d ms)", DEFAULT_MOVE_OVERHEAD);
  printRow(control, ours, base, inc, dorvikOptimum);
  StockfishRules stockfish;
  printRow("", "Stockfish's published rules (10 ms)", base, inc,
           [&](int64_t time, int64_t i, int ply) { return stockfish.optimum(time, i, ply); });
}

}  // namespace

int main() {
  std::printf("Share of the clock used after the engine's move N, every move spending exactly its optimum\n\n");
  std::printf("%-14s %-40s", "control", "rules");
  for (int n : CHECKPOINTS) std::printf(" %7d", n);
  std::printf("\n");
  printControl("game in 10 s", 10'000, 0);
  printControl("game in 1 min", 60'000, 0);
  printControl("game in 5 min", 300'000, 0);

  std::printf(
      "\nAt 10 s + 0.1 s: the share of the time received so far (base and increments) that was used,\n"
      "and the clock left, after move N\n\n");
  std::printf("%-14s %-40s", "control", "rules");
  for (int n : CHECKPOINTS) std::printf(" %14d", n);
  std::printf("\n");
  printControl("10 s + 0.1 s", 10'000, 100);
  return 0;
}
