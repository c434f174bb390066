// Building the two sides of an opening book from the database files, and the book commands.
#pragma once
#include "board/position.h"
#include "book/book_files.h"
#include "db/position_db.h"

// Writes name + ".mbx" and name + ".mbk" for one side from a database file. Side 0 (black to move)
// keeps positions where white scored above one half, side 1 those where black did; only plies <= 41.
bool createBookSide(OpeningBook& book, const char* name, DbFile& dbFile, int side, char* message);

// Both sides, "bookbtm" from the black file and "bookwtm" from the white file; failures are printed.
void generateBook(DbPair& pair);

// "bookcreate": the book in the current directory from "black.db" and "white.db".
void CreateBookFromDatabase();
// "bookshow": is the position in the main and the second book?
void ShowBookPosition(BookPair& books, const Position& pos);
