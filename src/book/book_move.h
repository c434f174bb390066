// The choice of a book move.
#pragma once
#include "board/position.h"
#include "board/types.h"
#include "book/book_files.h"

// A book move for the side to move, or 0: a legal move whose position is in the second book, else
// one in the main book, picked by the clock among them.
Move getBookMove(Position& pos, BookPair& books);
