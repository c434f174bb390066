// The endgame bitbase library, loaded at start-up from the configured directory.
#pragma once
#include <string>

inline constexpr int BITBASE_NO_RESULT = 99999;

struct Bitbases {
  bool loaded;            // bitbasesLoaded
  int loadMode;           // bitbaseLoadMode
  std::string loadError;  // why the last load failed
};

extern Bitbases bitbases;

// Loads "egbbso64.so" from the directory (text ending in "/") and calls its load function. On
// failure loadError says what failed: the folder, the file, the loader, the library's functions.
bool LoadBitbases(const char* directory, int cacheMegabytes, int loadMode);

// Whether the library is loaded and may answer the working position: at most three pawns and five
// men, no castling right and no en-passant capture to be made (the library is told of neither).
bool BitbaseCovers();

// Probes the working position: a score for the side to move, or BITBASE_NO_RESULT.
int ProbeBitbase();

// Calls the library's probe with the nine arguments as given; its raw answer.
int ProbeBitbaseArguments(const int arguments[9]);
