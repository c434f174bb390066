// The periodic check of a running search: the stop flag, the clock, and the caller's input.
#pragma once

// Nodes between two polls of the alpha-beta search.
inline constexpr unsigned POLL_INTERVAL = 16384;

// Called by the alpha-beta search when nodeCount > nextPollAt. The time is checked only from the
// third iteration on: the first two always finish. Returns true when the search must stop;
// otherwise it has moved nextPollAt on by POLL_INTERVAL, so the caller does not.
bool PollSearch();
