// Forgets everything the search learned: for a new game position.
#pragma once

// Clears the transposition table and the pawn cache, resets the history tables and the killers.
void SearchClear();
