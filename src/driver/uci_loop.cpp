#include "driver/uci_loop.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "board/fen.h"
#include "driver/line_words.h"
#include "driver/uci_options.h"
#include "driver/uci_position.h"
#include "driver/uci_search.h"
#include "io/input.h"
#include "io/log.h"

UciState uci;

namespace {

void uciCommand(LineWords&) {
  PrintUciIdentity();
  PrintUciReady();
}

void isreadyCommand(LineWords&) { std::printf("readyok\n"); }

void quitCommand(LineWords&) { uci.quitting = true; }

// Nothing to do: no debug output, no registration; "stop" and "ponderhit" with no search running.
void ignoredCommand(LineWords&) {}

struct UciCommand {
  const char* name;
  void (*action)(LineWords& arguments);
};

constexpr UciCommand Commands[] = {
    {"uci", uciCommand},
    {"isready", isreadyCommand},
    {"setoption", SetOptionCommand},
    {"ucinewgame", NewGameCommand},
    {"position", PositionCommand},
    {"go", GoCommand},
    {"stop", ignoredCommand},
    {"ponderhit", ignoredCommand},
    {"debug", ignoredCommand},
    {"register", ignoredCommand},
    {"quit", quitCommand},
};

const UciCommand* findCommand(const char* word) {
  for (const UciCommand& c : Commands)
    if (std::strcmp(word, c.name) == 0) return &c;
  return nullptr;
}

// Unknown words before a command are passed over, so that the command itself is still obeyed.
void dispatchLine() {
  LineWords words{uci.line};
  for (const char* word; (word = words.next());) {
    if (const UciCommand* command = findCommand(word)) return command->action(words);
    UciMessage("unknown command: %s", word);
  }
}

}  // namespace

bool ReadUciLine(const char* logPrefix) {
  if (!readLine(uci.line, sizeof uci.line)) {
    logLine("-M: end of input");
    return false;
  }
  uci.line[std::strcspn(uci.line, "\r\n")] = '\0';
  if (uci.line[0]) logLine("%s%s", logPrefix, uci.line);
  return true;
}

bool IsUciCommand(const char* word) { return findCommand(word) != nullptr; }

void UciMessage(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  UciInfo(text);
  logLine("-M: %s", text);
}

void UciInfo(const char* text) {
  // Texts made for a line of their own may end in a line end already.
  std::printf("info string %.*s\n", int(std::strcspn(text, "\r\n")), text);
}

void UciLoop() {
  uci.linePending = uci.quitting = false;
  InstallUciSearchHooks();
  // A "go" before any "position" searches the initial position.
  StartUciGame();
  while (!uci.quitting) {
    if (!uci.linePending && !ReadUciLine("::cmd:: ")) break;
    uci.linePending = false;
    dispatchLine();
  }
}
