// Time checks and input handling while a search runs.
#pragma once

// True when not pondering and the budget counted from searchStartTime is used up.
bool TimeUp();

// Reads one token during a search and acts on it (ponder hit, time, stop, or hand it to the loop).
void HandleSearchInput();

// The periodic check: stop flag, clock, input. Returns true when the search must stop.
bool PollSearch();
