#include "search/poll.h"

#include <algorithm>

namespace {

uint64_t pollInterval(const SearchState& s) {
  uint64_t interval = POLL_INTERVAL;
  // With one thread a node limit is kept to the node; with more the threads' sum is checked.
  const uint64_t limit = s.shared.limits.nodeLimit;
  if (limit && s.shared.threadCount <= 1)
    interval = std::min<uint64_t>(interval, limit > s.nodeCount ? limit - s.nodeCount : 1);
  return interval;
}

}  // namespace

bool NodeLimitReached(const SearchState& s) {
  const uint64_t limit = s.shared.limits.nodeLimit;
  if (!limit) return false;
  return (s.shared.threadCount <= 1 ? s.nodeCount : s.shared.totalNodes()) >= limit;
}

void StartPolling(SearchState& s) { s.nextPollAt = pollInterval(s); }

bool PollSearch(SearchState& s) {
  s.publishedNodes.store(s.nodeCount, std::memory_order_relaxed);
  if (NodeLimitReached(s)) s.stop();
  if (s.stopped()) return true;
  s.nextPollAt += pollInterval(s);
  return false;
}
