// The words of one command line, taken in turn.
#pragma once
#include <cstddef>

struct LineWords {
  char* at;  // the unread rest of the line; words are cut off it in place

  // The next word, or nullptr when none is left.
  const char* next();
  // The unread rest, without blanks at either end (empty when nothing is left).
  const char* rest();
};

// Copies the line's first word (cut to size - 1 characters) into `word`, leaving the line as it is.
void FirstWord(const char* line, char* word, size_t size);
