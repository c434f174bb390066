#include "eval/pawn_cache.h"

#include <cstring>

#include "io/huge_pages.h"

// In huge pages where the kernel allows, as the transposition table.
alignas(HUGE_PAGE_SIZE) PawnCache pawnCache;

void ClearPawnCache() {
  static const bool advised = AdviseHugePages(&pawnCache, sizeof pawnCache);
  (void)advised;
  std::memset(&pawnCache, 0, sizeof pawnCache);
}
