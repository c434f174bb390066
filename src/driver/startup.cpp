#include "driver/startup.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "board/tables.h"
#include "driver/config_location.h"
#include "driver/configuration.h"
#include "driver/engine_identity.h"
#include "driver/options.h"
#include "engine/engine.h"
#include "eval/piece_tables.h"
#include "io/input.h"
#include "io/line_words.h"
#include "io/log.h"
#include "io/output.h"
#include "uci/uci.h"
#include "xboard/xboard.h"
#include "xboard/xboard_text.h"

namespace {

constexpr size_t FIRST_LINE_SIZE = 256;

enum class Protocol { XBOARD, UCI };

// The features announced after "done=0": the front end waits for "done=1", which follows the
// rest of start-up. Each one that it knows is answered with "accepted", which the command loop
// reads whenever it comes.
struct Feature {
  const char* name;
  const char* value;
};
constexpr Feature Features[] = {
    {"setboard", "1"}, {"ping", "1"},     {"playother", "1"}, {"sigint", "0"},
    {"sigterm", "0"},  {"analyze", "1"}, {"colors", "0"},    {"variants", "\"normal\""},
    {"smp", "1"},      {"memory", "1"},  {"debug", "1"},
};

// A start-up message: a line of its own for xboard (and for a person typing), an "info string"
// line for UCI.
void notice(Protocol protocol, const char* text) {
  // Texts made for a line of their own may end in a line end already.
  const std::string line(text, std::strcspn(text, "\r\n"));
  if (protocol == Protocol::UCI) SendLine("info string %s", line.c_str());
  else SendLine("%s", xboard::Defused(line).c_str());
}

void announceFeatures() {
  SendLine("%s", "");
  SendLine("feature done=0");
  for (const Feature& f : Features) SendLine("feature %s=%s", f.name, f.value);
  SendLine("feature myname=\"%s\"", ENGINE_NAME);
}

void reportError(Protocol protocol, const std::string& text) {
  notice(protocol, text.c_str());
  logLine("%s", text.c_str());
}

void reportBitbases(Protocol protocol, const Engine& engine, const Configuration& config) {
  if (!engine.bitbases().loaded()) {
    const std::string reason = !config.bitbaseDirectory.empty() ? engine.bitbases().error()
                               : config.file.empty()            ? NO_FILE_READ
                                                                : "no EGBB_PATH= line in " + config.file;
    return reportError(protocol, "EGBB ERROR: endgame bitbases not loaded: " + reason);
  }
  char text[96];
  std::snprintf(text, sizeof text, "EGBB_LOAD=%d", config.bitbaseLoadMode);
  notice(protocol, text);
  if (config.bitbaseLoadMode < 1) notice(protocol, "EGBB WARNING: EGBB_LOAD < 1 in 'Dorvik.ini' file.");
  std::snprintf(text, sizeof text, "EGBB_CACHE=%d", config.bitbaseCacheMegabytes);
  notice(protocol, text);
  if (config.bitbaseCacheMegabytes < 4) notice(protocol, "EGBB WARNING: EGBB_CACHE < 4 in 'Dorvik.ini' file.");
}

void reportBook(Protocol protocol, bool loaded, const std::string& error) {
  if (!loaded) reportError(protocol, "BOOK ERROR: " + error);
}

// The log names the file read, in full: the engine may have found it far from its working folder.
void reportConfigurationFile(Protocol protocol, const Configuration& config) {
  if (!config.fileError.empty()) return reportError(protocol, "ERROR: " + config.fileError);
  std::error_code error;
  std::filesystem::path file = std::filesystem::absolute(config.file, error);
  logLine("%s read: %s", CONFIGURATION_FILE, (error ? config.file : file.lexically_normal().string()).c_str());
}

}  // namespace

int RunEngine(int threads) {
  // Input never goes through stdio (see input.cpp); output must reach the front end at once.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  InitTables();
  InitPieceSquareTables();

  char line[FIRST_LINE_SIZE];
  if (!readLine(line, sizeof line)) line[0] = '\0';
  LineWords words{line};
  const char* first = words.next();
  const Protocol protocol = first && std::strcmp(first, "uci") == 0 ? Protocol::UCI : Protocol::XBOARD;
  if (protocol == Protocol::XBOARD) {
    if (!first || std::strncmp(first, "xboard", 6) != 0) SendLine("Engine works only with xboard protocol ver. 2");
    announceFeatures();
  }

  auto engine = std::make_unique<Engine>();
  engine->setThreads(threads);
  const Configuration config = LoadConfiguration();
  Settings settings = DefaultSettings(config);
  engine->setMoveOverhead(config.moveOverhead);
  std::string bookError = config.file.empty() ? NO_FILE_READ : "no BOOK_PATH= line in " + config.file;
  const bool bookLoaded = !config.bookDirectory.empty() && engine->loadBooks(config.bookDirectory.c_str(), bookError);
  if (!config.bitbaseDirectory.empty()) {
    std::string ignored;  // reported below
    engine->loadBitbases(config.bitbaseDirectory.c_str(), config.bitbaseCacheMegabytes, config.bitbaseLoadMode, ignored);
  }

  if (protocol == Protocol::UCI) {
    // What start-up found comes before "uciok", which some front ends expect as the last line of
    // the greeting.
    uci::FrontEnd front(*engine, settings);
    front.greet();
    reportConfigurationFile(protocol, config);
    reportBook(protocol, bookLoaded, bookError);
    reportBitbases(protocol, *engine, config);
    SendLine("uciok");
    front.run();
  } else {
    xboard::FrontEnd front(*engine, settings);
    front.announceOptions();
    reportConfigurationFile(protocol, config);
    SendLine("feature done=1");
    reportBook(protocol, bookLoaded, bookError);
    reportBitbases(protocol, *engine, config);
    front.run();
  }
  return 0;
}
