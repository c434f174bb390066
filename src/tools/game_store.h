// A game file opened for appending new games: every stored record is indexed once, so that a
// game already in the file is recognised without reading the file again.
#pragma once
#include <string>
#include <unordered_set>

#include "tools/pgn_reader.h"

class GameStore {
 public:
  GameStore() = default;
  GameStore(const GameStore&) = delete;
  GameStore& operator=(const GameStore&) = delete;
  ~GameStore();

  // Opens or creates the file and indexes its records. A last record cut short (an append that
  // was interrupted) is cut off with a message; any other damage refuses the file untouched.
  // Prints the reason and answers false when the file cannot be used.
  bool open(const char* fileName);
  bool isOpen() const { return fd_ >= 0; }

  // Appends the game with one write unless an equal record is stored; true when appended.
  // Throws PgnError when the write fails (the file is left as it was).
  bool append(const GameRecord& game);

 private:
  bool refuse();  // closes the file; always false

  int fd_ = -1;
  long long size_ = 0;
  std::unordered_set<std::string> stored_;
};
