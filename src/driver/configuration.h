// The configuration file "Dorvik.ini": bitbase settings and the book directory.
#pragma once
#include <string>

struct Configuration {
  bool fileMissing;              // the defaults stand
  std::string bitbaseDirectory;  // empty: no bitbases
  int bitbaseCacheMegabytes;
  int bitbaseLoadMode;
  std::string bookDirectory;  // of the last "BOOK_PATH=" line; empty: none
  int moveOverhead;           // ms the front end is taken to charge per move beyond the engine's time
};

// Reads the file. A missing file leaves the defaults; the caller reports it.
Configuration ReadConfiguration(const char* path);

// Blanks and tabs removed from both ends, at most maxLength characters kept, and a "/"
// appended to a non-empty result that lacks one.
std::string TrimDirectory(const char* text, size_t maxLength);

// Decimal number from the leading characters (blanks, a sign, digits); 0 without digits.
int ParseConfigInteger(const char* text);
