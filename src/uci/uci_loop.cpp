#include <cstring>

#include "driver/engine_identity.h"
#include "io/input.h"
#include "io/log.h"
#include "io/output.h"
#include "uci/uci.h"

namespace uci {

const FrontEnd::Command FrontEnd::Commands[] = {
    {"uci", &FrontEnd::uciCommand, false},
    {"isready", &FrontEnd::isreadyCommand, true},
    {"setoption", &FrontEnd::setoptionCommand, false},
    {"ucinewgame", &FrontEnd::ucinewgameCommand, false},
    {"position", &FrontEnd::positionCommand, false},
    {"go", &FrontEnd::goCommand, false},
    {"stop", &FrontEnd::stopCommand, true},
    {"ponderhit", &FrontEnd::ponderhitCommand, true},
    {"debug", &FrontEnd::ignoredCommand, true},
    {"register", &FrontEnd::ignoredCommand, true},
    {"quit", &FrontEnd::quitCommand, false},
};

const FrontEnd::Command* FrontEnd::find(const char* word) {
  for (const Command& c : Commands)
    if (std::strcmp(word, c.name) == 0) return &c;
  return nullptr;
}

void Message(const std::string& text) {
  // Texts made for a line of their own may end in a line end already.
  const std::string line = text.substr(0, text.find_first_of("\r\n"));
  SendLine("info string %s", line.c_str());
  logLine("-M: %s", line.c_str());
}

FrontEnd::FrontEnd(Engine& engine, Settings& settings) : engine_(engine), settings_(settings) {
  engine_.setHooks({[this](const IterationReport& r) { printInfo(r); },
                    [this](const SearchOutcome& o) { sendBestMove(o); }});
}

void FrontEnd::greet() const {
  SendLine("id name %s", ENGINE_NAME);
  SendLine("id author %s", ENGINE_AUTHOR);
  ForEachOption(engine_, settings_, [](const Option& o, const std::string& current) {
    switch (o.type) {
      case OptionType::CHECK: SendLine("option name %s type check default %s", o.name, current.c_str()); break;
      case OptionType::SPIN:
        SendLine("option name %s type spin default %s min %d max %d", o.name, current.c_str(), o.min, o.max);
        break;
      case OptionType::STRING:
        SendLine("option name %s type string default %s", o.name, current.empty() ? "<empty>" : current.c_str());
        break;
      case OptionType::BUTTON: SendLine("option name %s type button", o.name); break;
    }
  });
}

void FrontEnd::uciCommand(LineWords&) {
  greet();
  SendLine("uciok");
}

void FrontEnd::isreadyCommand(LineWords&) { SendLine("readyok"); }

void FrontEnd::stopCommand(LineWords&) { engine_.stop(); }

void FrontEnd::ponderhitCommand(LineWords&) { engine_.ponderHit(); }

void FrontEnd::quitCommand(LineWords&) { quitting_ = true; }

// Nothing to do: no debug output, no registration.
void FrontEnd::ignoredCommand(LineWords&) {}

// Unknown words before a command are passed over, so that the command itself is still obeyed.
void FrontEnd::dispatch(char* line) {
  LineWords words{line};
  for (const char* word; (word = words.next());) {
    const Command* command = find(word);
    if (!command) {
      Message(std::string("unknown command: ") + word);
      continue;
    }
    // Any command but those answered at once ends the search; it is handled after the best move.
    if (!command->duringSearch && engine_.searching()) {
      engine_.stop();
      engine_.wait();
    }
    return (this->*command->action)(words);
  }
}

void FrontEnd::run() {
  char line[LINE_SIZE];
  // The end of input counts as "quit".
  while (!quitting_ && ReadCommandLine(line, sizeof line))
    if (line[0]) dispatch(line);
  engine_.stop();
  engine_.wait();
}

}  // namespace uci
