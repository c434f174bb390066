// Time checks and input handling while a search runs.
#pragma once

// Nodes between two polls of the alpha-beta search.
inline constexpr unsigned POLL_INTERVAL = 16384;

// True when not pondering and the budget counted from searchStartTime is used up.
// The root search and the iteration loop call it directly; only from the third iteration on may
// it stop the search.
bool TimeUp();

// Reads one token during a search and acts on it (ponder hit, time, stop, or hand it to the loop).
// The end of input counts as "quit".
void HandleSearchInput();

// The periodic check, called by the alpha-beta search when nodeCount > nextPollAt: stop flag,
// clock, then waiting input. Returns true when the search must stop; otherwise it has moved
// nextPollAt on by POLL_INTERVAL, so the caller does not.
bool PollSearch();
