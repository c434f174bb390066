// The xboard front end: reads the front end's command lines, drives the engine and prints the
// protocol's answers. Commands are read on this thread while the engine searches on its own.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

#include "board/move.h"
#include "driver/options.h"
#include "engine/engine.h"
#include "io/line_words.h"

namespace xboard {

enum class Mode {
  FORCE,      // moves received are played; the engine does not answer
  PLAYING,    // the engine answers each opponent move
  THINKING,   // a search for the engine's own move is running
  PONDERING,  // a search on the expected opponent move is running
  ANALYZING,  // moves are played as in force mode and every position is searched without limit
  QUITTING,
};

// How a command stands to the game and to a running search.
enum class CommandKind {
  GAME,     // acts on the game: a search on the opponent's time stops first; the engine's move comes first
  SETTING,  // changes how the engine plays: as GAME
  AT_ONCE,  // leaves game and play alone: answered at once, during a search too
  STOP,     // ends any search without playing its move ("force", "quit")
};

class FrontEnd;

// One entry of the dispatch table: the command word matches when its first `prefix` characters
// equal the name's, or, with prefix 0, when the whole word equals the name.
struct Command {
  const char* name;
  int prefix;
  void (FrontEnd::*action)(LineWords& arguments);
  CommandKind kind;
};

// The clock as the front end keeps it: xboard's own default, 40 moves in 5 minutes, until the
// front end sets one (some never do, and give "st" or "sd" alone).
struct TimeControl {
  int movesPerControl = 40;       // 0: the whole game is one control
  int64_t increment = 0;          // ms per move
  int64_t fixedMoveTime = 0;      // ms for every move ("st"); 0 when the clock rules
  int64_t ownClock = 300'000;     // ms, from the last "time" (or "level")
  int64_t opponentClock = 300'000;
};

class FrontEnd {
 public:
  FrontEnd(Engine& engine, Settings& settings);
  // Serves the front end until "quit" or the end of input.
  void run();

  // The features of the handshake that list the options, with their current values.
  void announceOptions() const;

  // The dispatch table's entry for a command word, or nullptr.
  static const Command* find(const char* word);

 private:
  static const Command Commands[];

  // The loop.
  void dispatch(char* line);
  void handleEngineOutcome(bool commandWaiting = false);
  void stopSearch();
  void finishThinking();

  // The engine's turn (xboard_turn.cpp).
  void think();
  void playOutcome(const SearchOutcome& outcome, bool commandWaiting);
  void ponder(Move reply);
  void startAnalysis();
  SearchRequest clockRequest() const;
  void answerOwedPing();

  // Moves and the game (xboard_game.cpp).
  void moveCommand(Move m);
  void goCommand(LineWords&);
  void newCommand(LineWords&);
  void resultCommand(LineWords&);
  void forceCommand(LineWords&);
  void setboardCommand(LineWords&);
  void undoCommand(LineWords&);
  void removeCommand(LineWords&);
  void playotherCommand(LineWords&);
  void analyzeCommand(LineWords&);
  void exitCommand(LineWords&);
  void whiteCommand(LineWords&);
  void blackCommand(LineWords&);
  void quitCommand(LineWords&);
  void questionCommand(LineWords&);
  void takeBack(int plies);
  void setSide(int side);

  // Settings and answers at once (xboard_settings.cpp).
  void timeCommand(LineWords&);
  void otimCommand(LineWords&);
  void levelCommand(LineWords&);
  void stCommand(LineWords&);
  void sdCommand(LineWords&);
  void easyCommand(LineWords&);
  void hardCommand(LineWords&);
  void ponderCommand(LineWords& arguments);
  void postCommand(LineWords&);
  void nopostCommand(LineWords&);
  void pingCommand(LineWords&);
  void hintCommand(LineWords&);
  void statusCommand(LineWords&);
  void variantCommand(LineWords&);
  void noEffectCommand(LineWords&);
  void optionCommand(LineWords&);
  void memoryCommand(LineWords&);
  void coresCommand(LineWords&);
  void tellOption(const OptionReply& reply);
  void toolCommand(LineWords&);
  void refuseNow();
  void refuseArgument(const char* argument);

  // Thinking output, from the search thread (xboard_output.cpp).
  void printThinking(const IterationReport& report);

  Engine& engine_;
  Settings& settings_;
  Mode mode_ = Mode::PLAYING;
  bool ponderEnabled_ = false;
  Move ponderMove_ = MOVE_NONE;
  int engineSide_ = BLACK;
  int depthLimit_ = 0;  // 0: none
  bool analysisDue_ = false;
  bool positionRefused_ = false;  // a refused setboard: moves wait for a good position
  TimeControl clock_;
  char owedPong_[32] = "";
  const char* command_ = "";  // the command word being handled, for error messages

  std::atomic<bool> post_{true};
  std::atomic<bool> closingLine_{true};  // the closing thinking line is shown (not in analysis)
  std::mutex outcomeMutex_;
  std::optional<SearchOutcome> outcome_;  // delivered by the search thread, played by this one
};

}  // namespace xboard
