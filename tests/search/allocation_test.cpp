// The hot path of the search (evaluation, the table, generation and make/unmake in the capture
// search) runs millions of times a second and must not touch the heap.
#include <cstdlib>
#include <new>
#include <random>

#include "board/score.h"
#include "eval/eval_helpers.h"
#include "search/quiesce.h"
#include "support/search_fixture.h"

namespace {
int heapAllocations = 0;
}

// Counts every allocation of the test program; the tests compare counts around a call.
void* operator new(std::size_t size) {
  ++heapAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(EvaluateAllocationTest, EvaluateAllocatesNothing) {
  std::mt19937 rng(99);
  SearchFixture f;
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(SetupPosition(f.pos(), RandomFen(rng).c_str()));
    int before = heapAllocations;
    Evaluate(f.pos(), *f.pawnCache);  // pawn cache miss
    Evaluate(f.pos(), *f.pawnCache);  // pawn cache hit
    EXPECT_EQ(heapAllocations, before);
  }
  // The counter itself works: a std::string this long lives on the heap.
  // (Checked here once for all the tests of this file.)
  int before = heapAllocations;
  std::string text(100, 'x');
  EXPECT_GT(heapAllocations, before);
}

TEST(SearchAllocationTest, TableProbeAndStoreAllocateNothing) {
  std::mt19937_64 rng(7);
  TransTable table;
  TransEntry entry;
  int before = heapAllocations;
  for (int i = 0; i < 100000; ++i) {
    const HashKey key = rng();
    table.store(key, i & 1, Move(rng() & 0xFFFF), int(rng() % 16000) - 8000, int(rng() % 64), int(rng() % 3));
    table.probe(key, i & 1, entry);
  }
  EXPECT_EQ(heapAllocations, before);
}

TEST(SearchAllocationTest, CaptureSearchAllocatesNothing) {
  std::mt19937 rng(5);
  SearchFixture f;
  SearchState& s = *f.state;
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(SetupPosition(s.pos, RandomFen(rng).c_str()));
    s.plies[0].listEnd = s.moveStack;
    s.checkCount[0] = s.checkCount[1] = 0;
    int before = heapAllocations;
    QuiesceNode(s, s.plies + 1, 0, 1, -INFINITE_SCORE, INFINITE_SCORE);
    EXPECT_EQ(heapAllocations, before);
  }
}

}  // namespace
