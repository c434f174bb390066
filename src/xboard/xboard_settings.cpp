// The clock and the other settings, and the commands answered at once.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "board/move.h"
#include "board/score.h"
#include "driver/tool_commands.h"
#include "io/log.h"
#include "io/output.h"
#include "xboard/xboard.h"
#include "xboard/xboard_text.h"

namespace xboard {

namespace {

// Times from the front end are kept within this many milliseconds (over three years), so that
// no sum overflows.
constexpr int64_t MAX_CLOCK = 100'000'000'000;
// "test" searches as if it had all the time in the world and one move to make.
constexpr int64_t UNLIMITED_CLOCK = 9'999'999'990;
// Room for the number of a ping.
constexpr int PONG_SIZE = 32;

// A whole number, or nullptr's worth of nothing: false when the word is not one.
bool readInteger(const char* word, long long& value) {
  if (!word) return false;
  char* end;
  value = std::strtoll(word, &end, 10);
  return end != word && !*end;
}

int64_t centisecondsToMs(long long centiseconds) { return std::clamp<int64_t>(centiseconds, -MAX_CLOCK / 10, MAX_CLOCK / 10) * 10; }

}  // namespace

void FrontEnd::refuseArgument(const char* argument) { SendLine("Error (bad argument): %s %s", command_, argument); }

void FrontEnd::timeCommand(LineWords& arguments) {
  const char* text = arguments.rest();
  const bool searching = engine_.searching();
  logLine("%s%s", text, searching ? " [cC]" : "");
  char copy[256];
  std::snprintf(copy, sizeof copy, "%s", text);
  LineWords words{copy};
  long long own;
  if (!readInteger(words.next(), own)) return refuseArgument(text);
  clock_.ownClock = centisecondsToMs(own);
  // An "otim" on the same line is read too.
  long long opponent;
  const char* next = words.next();
  if (next && std::strcmp(next, "otim") == 0 && readInteger(words.next(), opponent))
    clock_.opponentClock = centisecondsToMs(opponent);
  // A clock that comes while the engine thinks on its move changes that move's time.
  if (mode_ == Mode::THINKING) engine_.updateClock(clockRequest());
}

void FrontEnd::otimCommand(LineWords& arguments) {
  long long opponent;
  const char* word = arguments.next();
  if (!readInteger(word, opponent)) return refuseArgument(word ? word : "");
  clock_.opponentClock = centisecondsToMs(opponent);
}

void FrontEnd::levelCommand(LineWords& arguments) {
  // "level MPS BASE INC", BASE in minutes or MINUTES:SECONDS; the increment may have a fraction
  // ("level 0 0:10 0.1"). The time lines carry the clock; until one comes both clocks show the base.
  const char* moves = arguments.next();
  const char* base = arguments.next();
  const char* increment = arguments.next();
  logLine("%s %s %s", moves ? moves : "", base ? base : "", increment ? increment : "");
  long long perControl;
  if (!readInteger(moves, perControl) || !base || !increment) return refuseArgument(moves ? moves : "");
  clock_.movesPerControl = int(std::clamp<long long>(perControl, 0, 100000));
  const double seconds = std::strtod(increment, nullptr);
  clock_.increment = std::isfinite(seconds) && seconds > 0 ? int64_t(std::min(seconds * 1000, double(MAX_CLOCK))) : 0;
  clock_.fixedMoveTime = 0;
  char* end;
  const long long minutes = std::strtoll(base, &end, 10);
  const long long extraSeconds = *end == ':' ? std::strtoll(end + 1, nullptr, 10) : 0;
  const long long baseMs = std::clamp<long long>(minutes, 0, MAX_CLOCK / 60000) * 60000 +
                           std::clamp<long long>(extraSeconds, 0, 59) * 1000;
  if (baseMs > 0) clock_.ownClock = clock_.opponentClock = baseMs;
}

void FrontEnd::stCommand(LineWords& arguments) {
  const char* word = arguments.next();
  char* end;
  const double seconds = word ? std::strtod(word, &end) : 0;
  if (!word || end == word || *end || !std::isfinite(seconds) || seconds <= 0) return refuseArgument(word ? word : "");
  clock_.fixedMoveTime = int64_t(std::min(seconds * 1000, double(MAX_CLOCK)));
}

void FrontEnd::sdCommand(LineWords& arguments) {
  const char* word = arguments.next();
  long long depth;
  if (!readInteger(word, depth) || depth < 1) return refuseArgument(word ? word : "");
  depthLimit_ = int(std::min<long long>(depth, MAX_SEARCH_DEPTH));
}

void FrontEnd::easyCommand(LineWords&) { ponderEnabled_ = false; }

void FrontEnd::hardCommand(LineWords&) { ponderEnabled_ = true; }

void FrontEnd::ponderCommand(LineWords& arguments) {
  const char* word = arguments.next();
  if (word && std::strcmp(word, "on") == 0) ponderEnabled_ = true;
  else if (word && std::strcmp(word, "off") == 0) ponderEnabled_ = false;
  else refuseArgument(word ? word : "");
}

void FrontEnd::postCommand(LineWords&) { post_ = true; }

void FrontEnd::nopostCommand(LineWords&) { post_ = false; }

void FrontEnd::pingCommand(LineWords& arguments) {
  const char* number = arguments.rest();
  // Everything before the ping is done, unless the engine is thinking on its move: the move
  // comes first.
  if (mode_ != Mode::THINKING) return SendLine("pong %s", number);
  std::snprintf(owedPong_, sizeof owedPong_, "%.*s", PONG_SIZE - 1, number);
}

void FrontEnd::hintCommand(LineWords&) {
  // The predicted reply while pondering, the analysis's choice, or the table's move for the
  // position; none while the engine thinks on its own move.
  Move m = mode_ == Mode::PONDERING ? ponderMove_ : mode_ == Mode::THINKING ? Move(MOVE_NONE) : engine_.suggestedMove();
  if (!m) return;
  char text[8];
  MoveToText(m, text);
  SendLine("Hint: %s", text);
}

void FrontEnd::statusCommand(LineWords&) {
  if (mode_ != Mode::ANALYZING) return;
  const SearchStatus s = engine_.status();
  SendLine("stat01: %lld %llu %d %d %d", (long long)(s.milliseconds / 10), (unsigned long long)s.nodes, s.depth,
           s.rootMovesLeft, s.rootMoves);
}

void FrontEnd::variantCommand(LineWords& arguments) {
  const char* name = arguments.next();
  if (!name || std::strcmp(name, "normal") != 0) SendLine("Error (unsupported variant): %s", name ? name : "");
}

void FrontEnd::noEffectCommand(LineWords&) {}

// What setting an option said: a problem pops up for the user; a folder's contents go to the
// front end's debug file.
void FrontEnd::tellOption(const OptionReply& reply) {
  if (reply.text.empty()) return;
  logLine("-M: %s", reply.text.c_str());
  SendLine(reply.problem ? "tellusererror %s" : "# %s", Defused(reply.text).c_str());
}

void FrontEnd::announceOptions() const {
  ForEachOption(engine_, settings_, [](const Option& o, const std::string& current) {
    if (o.uciOnly) return;
    switch (o.type) {
      case OptionType::CHECK:
        SendLine("feature option=\"%s -check %d\"", o.name, current == "true" ? 1 : 0);
        break;
      case OptionType::SPIN:
        SendLine("feature option=\"%s -spin %s %d %d\"", o.name, current.c_str(), o.min, o.max);
        break;
      case OptionType::STRING: SendLine("feature option=\"%s -path %s\"", o.name, current.c_str()); break;
      case OptionType::BUTTON: SendLine("feature option=\"%s -button\"", o.name); break;
    }
  });
}

// "option NAME=VALUE", or "option NAME" for a button.
void FrontEnd::optionCommand(LineWords& arguments) {
  const std::string text = arguments.rest();
  const size_t equals = text.find('=');
  const std::string name = text.substr(0, equals);
  std::string value = equals == std::string::npos ? "" : text.substr(equals + 1);
  const Option* option = FindOption(name.c_str());
  if (!option) return SendLine("Error (unknown option): %s", name.c_str());
  if (option->type == OptionType::CHECK) value = value == "1" ? "true" : value == "0" ? "false" : value;
  tellOption(option->set(engine_, settings_, value));
}

// "memory N": N megabytes for the engine's tables together: the pawn cache and the bitbases' cache
// keep their sizes, the transposition table takes the rest.
void FrontEnd::memoryCommand(LineWords& arguments) {
  const char* word = arguments.next();
  long long megabytes;
  if (!readInteger(word, megabytes) || megabytes < 1) return refuseArgument(word ? word : "");
  const long long fixedParts = PAWN_CACHE_MEGABYTES + (engine_.bitbases().loaded() ? settings_.bitbaseCacheMegabytes : 0);
  tellOption(FindOption("Hash")->set(engine_, settings_, std::to_string(std::max(megabytes - fixedParts, 1LL))));
}

void FrontEnd::coresCommand(LineWords& arguments) {
  const char* word = arguments.next();
  long long cores;
  if (!readInteger(word, cores) || cores < 1) return refuseArgument(word ? word : "");
  tellOption(FindOption("Threads")->set(engine_, settings_, std::to_string(cores)));
}

void FrontEnd::toolCommand(LineWords& arguments) {
  RunToolCommand(engine_, command_, arguments);
  if (std::strcmp(command_, "test") == 0) {
    // The test position is searched by a following "go" as if it had all the time it wants.
    mode_ = Mode::PLAYING;
    ponderEnabled_ = false;
    clock_.movesPerControl = 1;
    clock_.increment = 0;
    clock_.fixedMoveTime = 0;
    clock_.ownClock = UNLIMITED_CLOCK;
  }
  analysisDue_ = true;
}

}  // namespace xboard
