// The transposition table: two halves by side to move, each of buckets of three 12-byte entries.
// The engine owns one, shared by all its search threads. Entries are read and written word by word
// without locks; an entry's key word is stored XOR its other two words, so that an entry two
// threads wrote at once (one word from each) no longer matches any key and is passed over.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "board/score.h"
#include "board/types.h"

struct TransEntry {
  uint32_t word0;    // bits 18..31 key check, 16..17 key bits, 0..15 move
  uint32_t keyHigh;  // the key's high 32 bits
  uint32_t word2;    // bits 0..6 depth, 7..8 bound, 9..17 age, 18..31 score + INFINITE_SCORE
};

inline constexpr int TT_WAYS = 3;
inline constexpr size_t TT_BUCKET_BYTES = TT_WAYS * sizeof(TransEntry);
// The size the table has unless the user sets another: 2^18 buckets a half.
inline constexpr size_t TT_DEFAULT_MEGABYTES = 18;
inline constexpr size_t TT_MIN_MEGABYTES = 1;

enum Bound : int { BOUND_EXACT = 0, BOUND_LOWER = 1, BOUND_UPPER = 2 };

// Field access of an entry.
inline Move entryMove(const TransEntry& e) { return Move(e.word0 & 0xFFFF); }
inline int entryDepth(const TransEntry& e) { return int(e.word2 & 0x7F); }
inline int entryBound(const TransEntry& e) { return int((e.word2 >> 7) & 3); }
inline int entryAge(const TransEntry& e) { return int((e.word2 >> 9) & 0x1FF); }
inline int entryScore(const TransEntry& e) { return int(e.word2 >> 18) - INFINITE_SCORE; }

class TransTable {
 public:
  explicit TransTable(size_t megabytes = TT_DEFAULT_MEGABYTES);
  ~TransTable();
  TransTable(const TransTable&) = delete;
  TransTable& operator=(const TransTable&) = delete;

  // A table of this many megabytes, emptied; false (the table as it was) when the memory cannot be
  // had. Only while no search runs.
  bool resize(size_t megabytes);
  size_t megabytes() const { return megabytes_; }

  // Every entry emptied, the age back at its start. Only while no search runs.
  void clear();

  // The first entry of the position's bucket (ways 0, 1, 2 in that order) that matches its key.
  bool probe(HashKey key, int side, TransEntry& found) const;

  // Stores a result with the replacement rules, at the current age.
  void store(HashKey key, int side, Move move, int score, int depth, int bound);

  // Asks the processor for a position's bucket: the child's probe then does not wait for memory.
  void prefetch(HashKey key, int side) const {
    const char* bucket = reinterpret_cast<const char*>(bucketOf(key, side));
    __builtin_prefetch(bucket);
    __builtin_prefetch(bucket + TT_BUCKET_BYTES - 1);  // a bucket may straddle two lines
  }

  // The age stamp of new entries: one more for every move of the game.
  int age() const { return age_.load(std::memory_order_relaxed); }
  void advanceAge() { age_.fetch_add(1, std::memory_order_relaxed); }

  // Between moves, while no search runs: keep the 9-bit age field from overflowing, or flatten
  // depths in long endings.
  void ageByPly();
  void flatten(int depth);

  // Per mille of the entries of a sample written at the current age.
  int hashfull() const;

  // One way of the bucket a key falls into, as it is stored: for a look at the replacement rules.
  TransEntry way(HashKey key, int side, int way) const { return read(bucketOf(key, side)[way]); }

 private:
  struct Slot {
    std::atomic<uint32_t> word0;
    std::atomic<uint32_t> keyWord;  // keyHigh ^ word0 ^ word2
    std::atomic<uint32_t> word2;
  };
  static_assert(sizeof(Slot) == sizeof(TransEntry));

  Slot* bucketOf(HashKey key, int side) const {
    // A half of 2^n buckets takes the key's low bits as they are; another size spreads them over its
    // buckets.
    uint64_t index = key & indexMask_;
    if (!powerOfTwo_) index = (index * buckets_) >> indexBits_;
    return halves_[side & 1] + index * TT_WAYS;
  }
  static TransEntry read(const Slot& s);
  static void write(Slot& s, const TransEntry& e);
  template <typename F>
  void rewriteAgesAndDepths(F f);

  Slot* slots_ = nullptr;  // [side][bucket][way]
  Slot* halves_[2] = {};   // each side's first bucket
  size_t buckets_ = 0;     // per half
  int indexBits_ = 0;      // key bits the bucket index is taken from
  uint64_t indexMask_ = 0;  // those bits
  bool powerOfTwo_ = true;  // buckets_ == 2^indexBits_
  size_t megabytes_ = 0;
  std::atomic<int> age_{1};
};

// Buckets a half of a table of this many megabytes has.
size_t TransTableBuckets(size_t megabytes);
