#include "board/zobrist.h"

namespace {

// The keys come from a fixed-seed generator evaluated by the compiler, so every build of the
// program has the same table; nothing is seeded at run time. Changing the seed or the generator
// makes every stored book and database unreadable.
constexpr uint64_t splitMix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

constexpr std::array<std::array<HashKey, 64>, 13> makeKeys() {
  std::array<std::array<HashKey, 64>, 13> keys{};
  uint64_t state = 0x446F7276696B2121ULL;
  for (auto& row : keys)
    for (auto& key : row) key = splitMix(state);
  return keys;
}

}  // namespace

constinit const std::array<std::array<HashKey, 64>, 13> ZobristKeys = makeKeys();
