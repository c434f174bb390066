#include "library/block_cache.h"

#include <algorithm>

namespace egbb {

namespace {
constexpr uint64_t EMPTY = ~uint64_t(0);
}

void BlockCache::reset(size_t bytes) {
  sets_ = std::max<size_t>(1, bytes / BLOCK_BYTES / WAYS);
  memory_.reset(new uint8_t[sets_ * WAYS * BLOCK_BYTES]);
  keys_.assign(sets_ * WAYS, EMPTY);
  lastUse_.assign(sets_ * WAYS, 0);
  clock_ = 0;
}

size_t BlockCache::slotOf(uint64_t key) const {
  uint64_t h = key * 0x9E3779B97F4A7C15ull;
  return size_t((h >> 32) % sets_) * WAYS;
}

const uint8_t* BlockCache::find(uint64_t key) {
  size_t first = slotOf(key);
  for (size_t s = first; s < first + WAYS; ++s)
    if (keys_[s] == key) {
      lastUse_[s] = ++clock_;
      return memory_.get() + s * BLOCK_BYTES;
    }
  return nullptr;
}

uint8_t* BlockCache::claim(uint64_t key) {
  size_t first = slotOf(key), victim = first;
  for (size_t s = first; s < first + WAYS; ++s)
    if (keys_[s] == EMPTY || lastUse_[s] < lastUse_[victim]) victim = s;
  keys_[victim] = key;
  lastUse_[victim] = ++clock_;
  return memory_.get() + victim * BLOCK_BYTES;
}

void BlockCache::forget(uint64_t key) {
  size_t first = slotOf(key);
  for (size_t s = first; s < first + WAYS; ++s)
    if (keys_[s] == key) keys_[s] = EMPTY, lastUse_[s] = 0;
}

}  // namespace egbb
