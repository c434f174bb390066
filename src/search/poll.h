// The periodic check of a running search: the stop flag, the clock, and the caller's input.
#pragma once

// Nodes between two polls of the alpha-beta search while the hard limit is far.
inline constexpr unsigned POLL_INTERVAL = 16384;

// Nodes until the next poll: fewer as the hard limit nears, so that a small limit is kept closely
// (a poll costs a clock read and a look at the input).
unsigned PollInterval();

// Called by the alpha-beta search when nodeCount > nextPollAt. The budget is checked only from
// the third iteration on, the hard limit always. Returns true when the search must stop; otherwise
// it has moved nextPollAt on (by POLL_INTERVAL, less near the hard limit), so the caller does not.
bool PollSearch();
