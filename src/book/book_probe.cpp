#include "book/book_probe.h"

#include <string>

#include "board/position.h"
#include "book/book_files.h"

bool LoadBooks(const char* directory) {
  bool mainLoaded = loadBook(books.main, directory);
  // No folder changes neither book: the main book's error says so.
  if (directory[0] == '\0') return false;
  // The second book's failure is silent: it only means that every candidate comes from the main book.
  loadBook(books.second, (std::string(directory) + "2/").c_str());
  return mainLoaded;
}

const char* mainBookError() { return books.main.errorText; }

bool mainBookHasPosition() { return bookContains(books.main.sides[pos.sideToMove], pos.hashKey); }

bool secondBookHasPosition() { return bookContains(books.second.sides[pos.sideToMove], pos.hashKey); }
