#include "driver/startup.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "board/tables.h"
#include "driver/config_location.h"
#include "driver/configuration.h"
#include "driver/engine_identity.h"
#include "driver/engine_state.h"
#include "driver/search_hooks.h"
#include "driver/time_control.h"
#include "driver/uci_loop.h"
#include "driver/uci_options.h"
#include "eval/bitbase.h"
#include "eval/piece_tables.h"
#include "io/input.h"
#include "io/log.h"
#include "movegen/make_move.h"
#include "movegen/ply.h"
#include "search/search_clear.h"
#include "search/search_state.h"

namespace {

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
};

struct StartUpReport {
  Protocol protocol;
};
StartUpReport report;

// A start-up message: a line of its own for xboard (and for a person typing), an "info string"
// line for UCI.
void notice(const char* text) {
  if (report.protocol == Protocol::UCI) UciInfo(text);
  else std::printf("%s\n", text);
}

void printFeature(const char* name, const char* value) { std::printf("feature %s=%s\n", name, value); }

void announceFeatures() {
  std::printf("\n");
  printFeature("done", "0");
  for (const Feature& f : Features) printFeature(f.name, f.value);
  char name[64];
  std::snprintf(name, sizeof name, "\"%s\"", ENGINE_NAME);
  printFeature("myname", name);
}

void reportError(const std::string& text) {
  notice(text.c_str());
  logLine("%s", text.c_str());
}

void reportBitbases(const Configuration& config) {
  if (!bitbases.loaded) {
    std::string reason = !config.bitbaseDirectory.empty() ? bitbases.loadError
                         : config.file.empty()            ? NO_FILE_READ
                                                          : "no EGBB_PATH= line in " + config.file;
    return reportError("EGBB ERROR: endgame bitbases not loaded: " + reason);
  }
  char text[96];
  std::snprintf(text, sizeof text, "EGBB_LOAD=%d", config.bitbaseLoadMode);
  notice(text);
  if (config.bitbaseLoadMode < 1) notice("EGBB WARNING: EGBB_LOAD < 1 in 'Dorvik.ini' file.");
  std::snprintf(text, sizeof text, "EGBB_CACHE=%d", config.bitbaseCacheMegabytes);
  notice(text);
  if (config.bitbaseCacheMegabytes < 4) notice("EGBB WARNING: EGBB_CACHE < 4 in 'Dorvik.ini' file.");
}

void reportBook(const Configuration& config) {
  if (!config.mainBookLoaded) reportError("BOOK ERROR: " + config.mainBookError);
}

// The log names the file read, in full: the engine may have found it far from its working folder.
void reportConfigurationFile(const Configuration& config) {
  if (!config.fileError.empty()) return reportError("ERROR: " + config.fileError);
  std::error_code error;
  std::filesystem::path file = std::filesystem::absolute(config.file, error);
  logLine("%s read: %s", CONFIGURATION_FILE, (error ? config.file : file.lexically_normal().string()).c_str());
}

// The tables, the search's hooks and the configuration's books and bitbases.
Configuration prepareEngine() {
  plies.current = plies.records;
  markerMoveContext = {[] { return unsigned(search.iterationDepth); }, [] { return driver.ponderMove; }};
  InitTables();
  InitPieceSquareTables();
  SearchClear();
  InstallSearchHooks();
  // Until a clock arrives the budget is nothing (two iterations) and there is no hard limit.
  search.limits.hardLimit = MAX_TIME_BUDGET;

  Configuration config = LoadConfiguration();
  if (!config.bitbaseDirectory.empty())
    LoadBitbases(config.bitbaseDirectory.c_str(), config.bitbaseCacheMegabytes, config.bitbaseLoadMode);
  return config;
}

}  // namespace

Protocol StartUp() {
  driver.engineState = PLAYING;
  // Input never goes through stdio (see input.cpp); output must reach the front end at once.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::fflush(nullptr);

  char first[INPUT_TOKEN_SIZE];
  readToken(first, sizeof first);
  report.protocol = std::strcmp(first, "uci") == 0 ? Protocol::UCI : Protocol::XBOARD;
  const bool uci = report.protocol == Protocol::UCI;
  if (!uci) {
    if (std::strncmp(first, "xboard", 6) != 0) std::printf("Engine works only with xboard protocol ver. 2\n");
    announceFeatures();
  }
  Configuration config = prepareEngine();
  if (uci) {
    // The options' defaults come from the configuration. What start-up found comes before
    // "uciok", which some front ends expect as the last line of the greeting.
    SetUciOptionDefaults(config);
    PrintUciIdentity();
  }
  reportConfigurationFile(config);
  if (!uci) printFeature("done", "1");
  reportBook(config);
  reportBitbases(config);
  if (uci) PrintUciReady();
  return report.protocol;
}
