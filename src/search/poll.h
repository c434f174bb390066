// The periodic check of a running search: the stop flag and the node limit, and the counters it
// publishes for other threads.
#pragma once
#include "search/search_state.h"

// Nodes between two polls of the alpha-beta search.
inline constexpr unsigned POLL_INTERVAL = 16384;

// Called by the alpha-beta search when nodeCount > nextPollAt. Returns true when the search must
// stop; otherwise it has moved nextPollAt on, so the caller does not.
bool PollSearch(SearchState& s);

// nextPollAt for a search that starts now (a node limit is kept to the node).
void StartPolling(SearchState& s);

// Whether the node limit is reached (by every thread together).
bool NodeLimitReached(const SearchState& s);
