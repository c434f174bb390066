// Huge pages for the large tables that are read at random.
#pragma once
#include <cstddef>

inline constexpr size_t HUGE_PAGE_SIZE = 2 * 1024 * 1024;

// Asks the kernel to back the memory with huge pages where it can (transparent huge pages in
// "madvise" mode). Only whole huge pages inside the range are advised. True when the kernel took
// the advice; without it everything works, only slower.
bool AdviseHugePages(void* start, size_t bytes);
