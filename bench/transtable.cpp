// Transposition-table speed: stores and probes per second over random keys in the 18 MB table.
#include <chrono>
#include <cstdio>
#include <random>

#include "search/transtable.h"

int main() {
  TransTable table;
  constexpr int N = 4'000'000;
  std::mt19937_64 rng(2026);
  TransEntry entry;
  unsigned found = 0;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < N; ++i) {
    table.store(rng(), i & 1, Move(i & 0xFFF), (i % 1000) - 500, i % 20, i % 3);
    found += table.probe(rng(), i & 1, entry);
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%d stores and %d probes of random keys in %.3f s: %.1f million pairs/s (%u probes hit)\n", N, N,
              seconds, N / seconds / 1e6, found);
  return 0;
}
