// The options a UCI front end may set, and the engine's greeting that lists them.
#pragma once
#include <string>

#include "driver/configuration.h"
#include "driver/line_words.h"

struct UciOptions {
  bool ponder;              // the front end may let the engine ponder (it changes nothing here)
  bool ownBook;             // "go" plays a book move when the book has one
  std::string bookPath;     // folder of the opening book; empty: none
  std::string bitbasePath;  // folder of the bitbase library; empty: none
  int bitbaseCacheMegabytes;
  int bitbaseLoadMode;
};

extern UciOptions uciOptions;

// The defaults: the book and bitbase folders of "Dorvik.ini", the book in use.
void SetUciOptionDefaults(const Configuration& config);

// "id name", "id author" and one line per option; "uciok" follows once the engine is ready.
void PrintUciIdentity();
void PrintUciReady();

// "setoption name NAME [value VALUE]": a new folder loads the book or the bitbases from it.
void SetOptionCommand(LineWords& arguments);
