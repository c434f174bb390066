// The configuration file "Dorvik.ini": bitbase settings and the book directory.
#pragma once
#include <string>

struct Configuration {
  std::string bitbaseDirectory;  // empty: no bitbases
  int bitbaseCacheMegabytes;
  int bitbaseLoadMode;
  bool mainBookLoaded;
  std::string mainBookError;
};

// Reads the file, loading the books for every "BOOK_PATH=" line on the way. A missing file is
// reported on standard output and in the log; the defaults then stand.
Configuration ReadConfiguration(const char* path);

// Blanks and tabs removed from both ends, at most maxLength characters kept, and a "/"
// appended to a non-empty result that lacks one.
std::string TrimDirectory(const char* text, size_t maxLength);

// Decimal number from the leading characters (blanks, a sign, digits); 0 without digits.
int ParseConfigInteger(const char* text);
