#include "eval/pawn_cache.h"

#include <cstring>

#include "io/huge_pages.h"

void PawnCache::clear() {
  // Probes land anywhere in 4 MB: in huge pages they cost no page-table walk. Advised before the
  // first write, so that the pages are huge from the start. No search runs while the cache is
  // cleared: the entries are plain words then, emptied at memory speed.
  AdviseHugePages(entries, sizeof entries);
  std::memset(static_cast<void*>(entries), 0, sizeof entries);
}
