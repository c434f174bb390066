// The opening books: loading and look-up of position keys.
#pragma once
#include "board/types.h"

// Loads the main book from a directory (ending in "/") and the second one from its "2/"; an
// empty directory loads nothing and fails. Returns whether the main book loaded; the reason it
// did not is then in mainBookError().
bool LoadBooks(const char* directory);
const char* mainBookError();

// Is the current position (for the side to move) in the main / second book?
bool mainBookHasPosition();
bool secondBookHasPosition();
