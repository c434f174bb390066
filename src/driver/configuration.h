// The configuration file "Dorvik.ini": bitbase settings and the book directory.
#pragma once
#include <string>

// The reason given for the book and the bitbases when no file was read.
inline constexpr const char* NO_FILE_READ = "no Dorvik.ini read";

struct Configuration {
  std::string file;              // the file read; empty when none was (the defaults stand)
  std::string fileError;         // why no file was read; empty when one was
  std::string bitbaseDirectory;  // empty: no bitbases
  int bitbaseCacheMegabytes;
  int bitbaseLoadMode;
  std::string bookDirectory;  // of the last "BOOK_PATH=" line; empty: none
  int moveOverhead;           // ms the front end is taken to charge per move beyond the engine's time
};

// Finds the file (see config_location.h) and reads it; when there is none, the defaults stand
// and fileError lists the places looked at.
Configuration LoadConfiguration();

// Reads the file. Relative folders are taken from the file's own folder.
Configuration ReadConfiguration(const std::string& path);

// Blanks and tabs removed from both ends, at most maxLength characters kept, and a "/"
// appended to a non-empty result that lacks one.
std::string TrimDirectory(const char* text, size_t maxLength);

// Decimal number from the leading characters (blanks, a sign, digits); 0 without digits.
int ParseConfigInteger(const char* text);
