#include <cstring>

#include "board/move.h"
#include "driver/tool_commands.h"
#include "io/input.h"
#include "io/log.h"
#include "io/output.h"
#include "xboard/xboard.h"

namespace xboard {

namespace {

using enum CommandKind;

// Room for one command line: a setboard text and its arguments fit with room to spare.
constexpr size_t LINE_SIZE = 1024;

}  // namespace

// Tested in this order after the moves; the first match wins. The typed tools come after them.
const Command FrontEnd::Commands[] = {
    {"time", 4, &FrontEnd::timeCommand, AT_ONCE},
    {"go", 2, &FrontEnd::goCommand, GAME},
    {"new", 3, &FrontEnd::newCommand, GAME},
    {"result", 6, &FrontEnd::resultCommand, GAME},
    {"level", 5, &FrontEnd::levelCommand, SETTING},
    {"force", 5, &FrontEnd::forceCommand, STOP},
    {"setboard", 8, &FrontEnd::setboardCommand, GAME},
    {"easy", 0, &FrontEnd::easyCommand, SETTING},
    {"hard", 0, &FrontEnd::hardCommand, SETTING},
    {"ponder", 0, &FrontEnd::ponderCommand, SETTING},  // Scid's "ponder off", outside the protocol
    {"quit", 4, &FrontEnd::quitCommand, STOP},
    {"white", 5, &FrontEnd::whiteCommand, GAME},
    {"black", 5, &FrontEnd::blackCommand, GAME},
    {"ping", 0, &FrontEnd::pingCommand, AT_ONCE},
    {"st", 0, &FrontEnd::stCommand, SETTING},
    {"sd", 0, &FrontEnd::sdCommand, SETTING},
    {"post", 0, &FrontEnd::postCommand, AT_ONCE},
    {"nopost", 0, &FrontEnd::nopostCommand, AT_ONCE},
    {"undo", 0, &FrontEnd::undoCommand, GAME},
    {"remove", 0, &FrontEnd::removeCommand, GAME},
    {"hint", 0, &FrontEnd::hintCommand, AT_ONCE},
    {"draw", 0, &FrontEnd::noEffectCommand, AT_ONCE},  // a draw offer is declined by not answering it
    {"otim", 0, &FrontEnd::otimCommand, AT_ONCE},
    {"name", 0, &FrontEnd::noEffectCommand, AT_ONCE},
    {"rating", 0, &FrontEnd::noEffectCommand, AT_ONCE},
    {"computer", 0, &FrontEnd::noEffectCommand, AT_ONCE},
    {"random", 0, &FrontEnd::noEffectCommand, AT_ONCE},
    {"ics", 0, &FrontEnd::noEffectCommand, AT_ONCE},
    {"memory", 0, &FrontEnd::memoryCommand, SETTING},
    {"cores", 0, &FrontEnd::coresCommand, SETTING},
    {"option", 0, &FrontEnd::optionCommand, SETTING},
    {"protover", 0, &FrontEnd::noEffectCommand, AT_ONCE},
    {"xboard", 0, &FrontEnd::noEffectCommand, AT_ONCE},  // Scid greets the engine twice
    {"accepted", 0, &FrontEnd::noEffectCommand, AT_ONCE},
    {"rejected", 0, &FrontEnd::noEffectCommand, AT_ONCE},
    {"?", 0, &FrontEnd::questionCommand, AT_ONCE},
    {"variant", 0, &FrontEnd::variantCommand, SETTING},
    {"playother", 0, &FrontEnd::playotherCommand, GAME},
    {"analyze", 0, &FrontEnd::analyzeCommand, GAME},
    {"exit", 0, &FrontEnd::exitCommand, GAME},
    {".", 0, &FrontEnd::statusCommand, AT_ONCE},
};

namespace {

bool matches(const char* word, const Command& command) {
  return command.prefix ? std::strncmp(word, command.name, size_t(command.prefix)) == 0
                        : std::strcmp(word, command.name) == 0;
}

// A move in coordinate notation: four characters, or five with a promotion letter.
bool looksLikeMove(const char* word) {
  const size_t n = std::strlen(word);
  return (n == 4 || (n == 5 && std::strchr("qrbn", word[4]))) && word[0] >= 'a' && word[0] <= 'h' &&
         word[1] >= '1' && word[1] <= '8' && word[2] >= 'a' && word[2] <= 'h' && word[3] >= '1' && word[3] <= '8';
}

}  // namespace

const Command* FrontEnd::find(const char* word) {
  for (const Command& command : Commands)
    if (matches(word, command)) return &command;
  return nullptr;
}

FrontEnd::FrontEnd(Engine& engine, Settings& settings) : engine_(engine), settings_(settings) {
  engine_.setHooks({[this](const IterationReport& r) { printThinking(r); },
                    [this](const SearchOutcome& o) {
                      {
                        std::lock_guard<std::mutex> lock(outcomeMutex_);
                        outcome_ = o;
                      }
                      WakeInputReader();
                    }});
}

// The search has ended: its move is played now, on this thread.
void FrontEnd::handleEngineOutcome(bool commandWaiting) {
  std::optional<SearchOutcome> outcome;
  {
    std::lock_guard<std::mutex> lock(outcomeMutex_);
    outcome.swap(outcome_);
  }
  if (!outcome) return;
  engine_.wait();
  if (mode_ == Mode::THINKING) playOutcome(*outcome, commandWaiting);
}

// A search that must not play its move ends; whatever it found is dropped.
void FrontEnd::stopSearch() {
  if (!engine_.searching()) return;
  engine_.stop();
  engine_.wait();
  std::lock_guard<std::mutex> lock(outcomeMutex_);
  outcome_.reset();
}

// The engine's move comes before a command that waits for it.
void FrontEnd::finishThinking() {
  engine_.wait();
  handleEngineOutcome(true);
}

void FrontEnd::dispatch(char* line) {
  LineWords words{line};
  const char* word = words.next();
  if (!word) return;
  command_ = word;

  if (looksLikeMove(word)) {
    if (Move m = ParseCoordinateMove(engine_.position(), word)) return moveCommand(m);
  }
  // The typed tools act on the game as game commands do.
  static constexpr Command TOOL = {"", 0, &FrontEnd::toolCommand, GAME};
  const Command* command = find(word);
  if (!command && IsToolCommand(word)) command = &TOOL;
  if (!command) {
    SendLine("Error (unknown command): %s", word);
    return;
  }
  if (command->kind != AT_ONCE) {
    // The engine's own move is played first, unless the command stops it; a search on the
    // opponent's time (pondering, analysis) stops for the command, and analysis starts again after.
    if (mode_ == Mode::THINKING) {
      if (command->kind == STOP) stopSearch();
      else finishThinking();
    }
    if (mode_ == Mode::PONDERING) {
      stopSearch();
      ponderMove_ = MOVE_NONE;
      mode_ = Mode::PLAYING;
    }
    if (mode_ == Mode::ANALYZING) {
      stopSearch();
      analysisDue_ = true;
    }
  }
  (this->*command->action)(words);
}

void FrontEnd::run() {
  char line[LINE_SIZE];
  while (mode_ != Mode::QUITTING) {
    handleEngineOutcome();
    // Analysis runs until a command arrives, and again after one that changed the position.
    if (mode_ == Mode::ANALYZING && analysisDue_ && !engine_.searching()) startAnalysis();
    if (WaitForInput() == InputEvent::WAKE) continue;
    // A closed input can bring no more commands: end as if "quit" had come.
    if (!ReadCommandLine(line, sizeof line)) break;
    if (line[0]) dispatch(line);
  }
  stopSearch();
  answerOwedPing();
}

}  // namespace xboard
