// The opening books: loading and look-up of position keys.
#pragma once
#include "board/position.h"
#include "book/book_files.h"

// Loads the main book from a directory (ending in "/") and the second one from its "2/".
// Returns whether the main book loaded; its error text is then in books.main.errorText.
bool LoadBooks(BookPair& books, const char* directory);

// Is the position (for the side to move) in the main / second book?
bool mainBookHasPosition(BookPair& books, const Position& pos);
bool secondBookHasPosition(BookPair& books, const Position& pos);
