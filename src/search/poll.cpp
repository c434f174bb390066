#include "search/poll.h"

#include <algorithm>
#include <cstdint>

#include "search/limits.h"
#include "search/search_state.h"

namespace {

// The budget lets the first two iterations finish; the hard limit stops any iteration.
bool mustStop() {
  if (search.stopSearch) return true;
  if ((TimeUp() && search.iterationDepth > 2) || HardLimitReached()) search.stopSearch = 1;
  return search.stopSearch;
}



}  // namespace

unsigned PollInterval() {
  int left = HardLimitLeft();
  unsigned interval = left < 100 ? POLL_INTERVAL / 32 : left < 1000 ? POLL_INTERVAL / 4 : POLL_INTERVAL;
  // A node limit is kept to the node.
  const uint32_t limit = search.limits.nodeLimit;
  if (limit) interval = std::min<unsigned>(interval, limit > search.nodeCount ? limit - search.nodeCount : 1);
  return interval;
}

bool PollSearch() {
  if (mustStop()) return true;
  // A command held for the caller is handled first; later input waits behind it.
  if (search.hooks.input && !search.callerWaiting) {
    InputVerdict verdict = search.hooks.input();
    if (verdict != InputVerdict::NONE) search.callerWaiting = true;
    if (verdict == InputVerdict::STOP) search.stopSearch = 1;
    if (mustStop()) return true;
  }
  search.nextPollAt += PollInterval();
  return false;
}
