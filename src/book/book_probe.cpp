#include "book/book_probe.h"

#include <string>

bool LoadBooks(BookPair& books, const char* directory) {
  bool mainLoaded = loadBook(books.main, directory);
  // No folder changes neither book: the main book's error says so.
  if (directory[0] == '\0') return false;
  // The second book's failure is silent: it only means that every candidate comes from the main book.
  loadBook(books.second, (std::string(directory) + "2/").c_str());
  return mainLoaded;
}

bool mainBookHasPosition(BookPair& books, const Position& pos) {
  return bookContains(books.main.sides[pos.sideToMove], pos.hashKey);
}

bool secondBookHasPosition(BookPair& books, const Position& pos) {
  return bookContains(books.second.sides[pos.sideToMove], pos.hashKey);
}
