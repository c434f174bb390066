#include "io/huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

bool AdviseHugePages(void* start, size_t bytes) {
  uintptr_t begin = (reinterpret_cast<uintptr_t>(start) + HUGE_PAGE_SIZE - 1) & ~(HUGE_PAGE_SIZE - 1);
  uintptr_t end = (reinterpret_cast<uintptr_t>(start) + bytes) & ~(HUGE_PAGE_SIZE - 1);
  if (end <= begin) return false;
  return madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE) == 0;
}
