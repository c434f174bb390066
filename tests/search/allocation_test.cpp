// The hot path of the search (evaluation, the table, generation and make/unmake in the capture
// search) runs millions of times a second and must not touch the heap.
#include <cstdlib>
#include <new>
#include <random>

#include "board/score.h"
#include "eval/eval_helpers.h"
#include "movegen/ply.h"
#include "search/quiesce.h"
#include "search/search_state.h"
#include "search/transtable.h"

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
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(SetupPosition(RandomFen(rng).c_str()));
    int before = heapAllocations;
    Evaluate();  // pawn cache miss
    Evaluate();  // pawn cache hit
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
  ASSERT_TRUE(SetupPosition(START_FEN));
  PlyRecord record{};
  int before = heapAllocations;
  for (int i = 0; i < 100000; ++i) {
    pos.hashKey = rng();
    pos.sideToMove = int(i & 1);
    StoreTable(Move(rng() & 0xFFFF), int(rng() % 16000) - 8000, int(rng() % 64), int(rng() % 3));
    ProbeTable(&record);
  }
  EXPECT_EQ(heapAllocations, before);
}

TEST(SearchAllocationTest, CaptureSearchAllocatesNothing) {
  std::mt19937 rng(5);
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(SetupPosition(RandomFen(rng).c_str()));
    plies.current = plies.records;
    plies.records[0].listEnd = moveStack;
    plies.current = plies.records + 1;
    search.checkCount[0] = search.checkCount[1] = 0;
    int before = heapAllocations;
    QuiesceNode(0, 1, -INFINITE_SCORE, INFINITE_SCORE);
    EXPECT_EQ(heapAllocations, before);
    plies.current = plies.records;
  }
}

}  // namespace
