// The UCI front end: reads the front end's command lines, drives the engine and prints the
// protocol's answers. Commands are read on this thread while the engine searches on its own.
#pragma once
#include <string>

#include "driver/options.h"
#include "engine/engine.h"
#include "io/line_words.h"

namespace uci {

// Room for one command line: a "position" line with the moves of a very long game fits.
inline constexpr int LINE_SIZE = 16384;

class FrontEnd {
 public:
  FrontEnd(Engine& engine, Settings& settings);
  // Serves the front end until "quit" or the end of input.
  void run();

  // "id", the options and "uciok".
  void greet() const;

 private:
  void dispatch(char* line);
  void uciCommand(LineWords&);
  void isreadyCommand(LineWords&);
  void setoptionCommand(LineWords&);
  void ucinewgameCommand(LineWords&);
  void positionCommand(LineWords&);
  void goCommand(LineWords&);
  void stopCommand(LineWords&);
  void ponderhitCommand(LineWords&);
  void quitCommand(LineWords&);
  void ignoredCommand(LineWords&);
  void playMoves(LineWords& words);
  void printInfo(const IterationReport& report);
  void sendBestMove(const SearchOutcome& outcome);

  struct Command {
    const char* name;
    void (FrontEnd::*action)(LineWords& arguments);
    bool duringSearch;  // answered at once while a search runs; any other command ends it first
  };
  static const Command Commands[];
  static const Command* find(const char* word);

  Engine& engine_;
  Settings& settings_;
  std::string startText_;  // the position text the game was set up from; empty: none
  bool quitting_ = false;
};

// An "info string" line for the user of the front end, also written to the log.
void Message(const std::string& text);

}  // namespace uci
