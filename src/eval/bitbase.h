// The endgame bitbase library, loaded from a folder the configuration names.
#pragma once
#include <string>

#include "board/position.h"

inline constexpr int BITBASE_NO_RESULT = 99999;

class Bitbases {
 public:
  // Loads "egbbso64.so" from the folder (text ending in "/") and calls its load function. On
  // failure the bitbases loaded before stay in use (a library once loaded is not let go of) and
  // error() says why.
  bool load(const char* directory, int cacheMegabytes, int loadMode);
  const std::string& error() const { return error_; }

  bool loaded() const { return probe_ != nullptr; }
  int loadMode() const { return loadMode_; }

  // Whether the library is loaded and may answer the position: at most three pawns and five men,
  // no castling right and no en-passant capture to be made (the library is told of neither).
  bool covers(const Position& pos) const;

  // A score for the side to move, or BITBASE_NO_RESULT.
  int probe(const Position& pos) const;

  // The library's probe with the nine arguments as given; its raw answer.
  int probeArguments(const int arguments[9]) const;

 private:
  bool failedLoad(const std::string& reason) {
    error_ = reason;
    return false;
  }
  using ProbeFunction = int (*)(int side, int whiteKing, int blackKing, int piece1, int square1, int piece2,
                                int square2, int piece3, int square3);
  ProbeFunction probe_ = nullptr;
  int loadMode_ = 0;
  std::string error_;
};
