// The library's cache of decoded blocks: a fixed amount of memory, four places per set, the
// least recently used block of a set making room for a new one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/block_code.h"

namespace egbb {

class BlockCache {
 public:
  // Empties the cache and gives it `bytes` of blocks (at least one set).
  void reset(size_t bytes);
  size_t bytes() const { return keys_.size() * BLOCK_BYTES; }

  // The values of block `key` when the cache holds them, else nullptr.
  const uint8_t* find(uint64_t key);
  // Room for block `key`, to be filled now; forget() it if it cannot be.
  uint8_t* claim(uint64_t key);
  void forget(uint64_t key);

 private:
  static constexpr int WAYS = 4;
  static constexpr size_t BLOCK_BYTES = BLOCK_VALUES;
  size_t slotOf(uint64_t key) const;

  std::unique_ptr<uint8_t[]> memory_;  // not cleared: pages become resident only as blocks fill them
  std::vector<uint64_t> keys_;
  std::vector<uint32_t> lastUse_;
  uint32_t clock_ = 0;
  size_t sets_ = 0;
};

}  // namespace egbb
