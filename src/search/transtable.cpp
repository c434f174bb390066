#include "search/transtable.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "io/huge_pages.h"

namespace {

// Bits 18..31 of the key's low half are compared; bits 16..17 are kept but overlap the bucket index.
constexpr uint32_t KEY_CHECK_MASK = 0xFFFC0000;
constexpr uint32_t KEY_STORED_MASK = 0xFFFF0000;
constexpr int SCORE_OFFSET = INFINITE_SCORE;
constexpr int MAX_DEPTH = 0x7F;
constexpr int MAX_AGE = 0x1FF;
// The bucket index comes from at least this many low key bits: a table of 2^18 buckets a half
// takes them as they are.
constexpr int MIN_INDEX_BITS = 18;
constexpr int FIRST_AGE = 1;
constexpr int HASHFULL_SAMPLE = 1000;

bool matches(const TransEntry& e, HashKey key) {
  return e.keyHigh == uint32_t(key >> 32) && ((e.word0 ^ uint32_t(key)) & KEY_CHECK_MASK) == 0;
}

uint32_t packWord2(int score, int depth, int bound, int age) {
  score = std::clamp(score, -SCORE_OFFSET, SCORE_OFFSET);
  depth = std::clamp(depth, 0, MAX_DEPTH);
  return uint32_t(depth) | uint32_t(bound & 3) << 7 | uint32_t(age & MAX_AGE) << 9 |
         uint32_t(score + SCORE_OFFSET) << 18;
}

// Positive when the new data (depth, at the current age) is worth more than the entry.
int priority(const TransEntry& e, int age, int depth) { return (age - entryAge(e)) + (depth - entryDepth(e)); }

bool replaces(const TransEntry& e, int age, int depth, int bound) {
  int p = priority(e, age, depth);
  return p > 0 || (p == 0 && bound < entryBound(e));
}

int bitsFor(size_t buckets) {
  int bits = MIN_INDEX_BITS;
  while (bits < 63 && (size_t(1) << bits) < buckets) ++bits;
  return bits;
}

}  // namespace

size_t TransTableBuckets(size_t megabytes) { return (megabytes << 20) / (2 * TT_BUCKET_BYTES); }

TransTable::TransTable(size_t megabytes) {
  if (!resize(megabytes)) resize(TT_MIN_MEGABYTES);
}

TransTable::~TransTable() { std::free(slots_); }

bool TransTable::resize(size_t megabytes) {
  megabytes = std::max(megabytes, TT_MIN_MEGABYTES);
  const size_t buckets = TransTableBuckets(megabytes);
  const size_t bytes = 2 * buckets * TT_BUCKET_BYTES;
  // Probes land anywhere in the table: in huge pages they cost no page-table walk. Advised before
  // the first write, so that the pages are huge from the start.
  const size_t rounded = (bytes + HUGE_PAGE_SIZE - 1) / HUGE_PAGE_SIZE * HUGE_PAGE_SIZE;
  void* memory = std::aligned_alloc(HUGE_PAGE_SIZE, rounded);
  if (!memory) return false;
  AdviseHugePages(memory, rounded);
  std::free(slots_);
  slots_ = static_cast<Slot*>(memory);
  halves_[0] = slots_;
  halves_[1] = slots_ + buckets * TT_WAYS;
  buckets_ = buckets;
  indexBits_ = bitsFor(buckets);
  indexMask_ = (uint64_t(1) << indexBits_) - 1;
  powerOfTwo_ = buckets == (size_t(1) << indexBits_);
  megabytes_ = megabytes;
  clear();
  return true;
}

void TransTable::clear() {
  std::memset(static_cast<void*>(slots_), 0, 2 * buckets_ * TT_BUCKET_BYTES);
  age_.store(FIRST_AGE, std::memory_order_relaxed);
}

TransEntry TransTable::read(const Slot& s) {
  TransEntry e;
  e.word0 = s.word0.load(std::memory_order_relaxed);
  e.word2 = s.word2.load(std::memory_order_relaxed);
  e.keyHigh = s.keyWord.load(std::memory_order_relaxed) ^ e.word0 ^ e.word2;
  return e;
}

void TransTable::write(Slot& s, const TransEntry& e) {
  s.word0.store(e.word0, std::memory_order_relaxed);
  s.keyWord.store(e.keyHigh ^ e.word0 ^ e.word2, std::memory_order_relaxed);
  s.word2.store(e.word2, std::memory_order_relaxed);
}

bool TransTable::probe(HashKey key, int side, TransEntry& found) const {
  const Slot* bucket = bucketOf(key, side);
#pragma GCC unroll 3
  for (int way = 0; way < TT_WAYS; ++way) {
    // The key bits kept in word0 rule out nearly every other position with one load.
    if ((bucket[way].word0.load(std::memory_order_relaxed) ^ uint32_t(key)) & KEY_CHECK_MASK) continue;
    const TransEntry e = read(bucket[way]);
    if (matches(e, key)) {
      found = e;
      return true;
    }
  }
  return false;
}

void TransTable::store(HashKey key, int side, Move move, int score, int depth, int bound) {
  Slot* bucket = bucketOf(key, side);
  const int age = this->age();
  depth = std::clamp(depth, 0, MAX_DEPTH);
  const TransEntry fresh = {(uint32_t(key) & KEY_STORED_MASK) | move, uint32_t(key >> 32),
                            packWord2(score, depth, bound, age)};

  const TransEntry first = read(bucket[0]);
  if (matches(first, key)) {
    int oldDepth = entryDepth(first);
    if (oldDepth > depth || (oldDepth == depth && bound >= entryBound(first))) return;
    write(bucket[0], fresh);
  } else if (replaces(first, age, depth, bound)) {
    write(bucket[1], first);
    write(bucket[0], fresh);
  } else if (replaces(read(bucket[1]), age, depth, bound)) {
    write(bucket[1], fresh);
  } else {
    write(bucket[2], fresh);
  }
}

// Applies f(age, depth) -> (age, depth) to every entry of both halves; key, move, bound, score stay.
template <typename F>
void TransTable::rewriteAgesAndDepths(F f) {
  for (Slot* s = slots_, *end = slots_ + 2 * buckets_ * TT_WAYS; s < end; ++s) {
    TransEntry e = read(*s);
    int age = entryAge(e), depth = entryDepth(e);
    f(age, depth);
    e.word2 = (e.word2 & ~uint32_t(MAX_DEPTH | MAX_AGE << 9)) | uint32_t(depth) | uint32_t(age) << 9;
    write(*s, e);
  }
}

void TransTable::ageByPly() {
  const int current = age();
  if (current <= 384) return;
  const int b = current - 64;
  rewriteAgesAndDepths([b](int& age, int&) { age = std::max(age - b, 0); });
  age_.store(current - b, std::memory_order_relaxed);
}

void TransTable::flatten(int d) {
  if (d < 5) return;
  const int age = this->age();
  const int b = age < 16 ? age / 2 : age * 3 / 4;
  const int shallower = d - 4;
  rewriteAgesAndDepths([b, shallower](int& a, int& depth) {
    a = std::max(a - b, 0);
    depth = std::max(depth - shallower, 0);
  });
}

int TransTable::hashfull() const {
  const int age = this->age() & MAX_AGE;
  const size_t sampled = std::min<size_t>(HASHFULL_SAMPLE, buckets_);
  int used = 0;
  for (size_t i = 0; i < sampled * TT_WAYS; ++i) {
    const TransEntry e = read(slots_[i]);
    used += (e.word0 | e.word2) != 0 && entryAge(e) == age;
  }
  return sampled ? int(used * 1000 / (sampled * TT_WAYS)) : 0;
}
