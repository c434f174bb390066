// The evaluation runs at every leaf of the search and must not touch the heap.
#include <cstdlib>
#include <new>
#include <random>

#include "eval_helpers.h"

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
  int before = heapAllocations;
  std::string text(100, 'x');
  EXPECT_GT(heapAllocations, before);
}

}  // namespace
