#include "eval/pawn_cache.h"

#include "io/huge_pages.h"

void PawnCache::clear() {
  // Probes land anywhere in 4 MB: in huge pages they cost no page-table walk. Advised before the
  // first write, so that the pages are huge from the start.
  AdviseHugePages(entries, sizeof entries);
  for (std::atomic<uint32_t>& e : entries) e.store(0, std::memory_order_relaxed);
}
