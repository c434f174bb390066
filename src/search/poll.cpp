#include "search/poll.h"

#include "search/limits.h"
#include "search/search_state.h"

namespace {

bool mustStop() {
  if (search.stopSearch) return true;
  if (TimeUp() && search.iterationDepth > 2) search.stopSearch = 1;
  return search.stopSearch;
}

}  // namespace

bool PollSearch() {
  if (mustStop()) return true;
  // A command held for the caller is handled first; later input waits behind it.
  if (search.hooks.input && !search.callerWaiting) {
    InputVerdict verdict = search.hooks.input();
    if (verdict != InputVerdict::NONE) search.callerWaiting = true;
    if (verdict == InputVerdict::STOP) search.stopSearch = 1;
    if (mustStop()) return true;
  }
  search.nextPollAt += POLL_INTERVAL;
  return false;
}
