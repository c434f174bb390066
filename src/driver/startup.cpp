#include "driver/startup.h"

#include <cstdio>
#include <cstring>

#include "board/tables.h"
#include "driver/configuration.h"
#include "driver/engine_state.h"
#include "driver/search_hooks.h"
#include "driver/time_control.h"
#include "eval/bitbase.h"
#include "eval/piece_tables.h"
#include "io/input.h"
#include "io/log.h"
#include "movegen/make_move.h"
#include "movegen/ply.h"
#include "search/search_clear.h"
#include "search/search_state.h"

namespace {

// xboard sends two words after "xboard" and after each of our first feature lines.
void discardTokens(int count) {
  char token[INPUT_TOKEN_SIZE];
  for (int i = 0; i < count; ++i) readToken(token, sizeof token);
}

void reportBitbases(const Configuration& config) {
  if (!bitbases.loaded) {
    const char* error = "EGBB ERROR: endgame bitbases not loaded. Check EGBB_PATH in 'Dorvik.ini' file.";
    std::printf("%s\n", error);
    logLine("%s", error);
    return;
  }
  std::printf("EGBB_LOAD=%d\n", config.bitbaseLoadMode);
  if (config.bitbaseLoadMode < 1) std::printf("EGBB WARNING: EGBB_LOAD < 1 in 'Dorvik.ini' file.\n");
  std::printf("EGBB_CACHE=%d\n", config.bitbaseCacheMegabytes);
  if (config.bitbaseCacheMegabytes < 4)
    std::printf("EGBB WARNING: EGBB_CACHE < 4 in 'Dorvik.ini' file.\n");
}

}  // namespace

bool StartUp() {
  driver.engineState = PLAYING;
  // Input never goes through stdio (see input.cpp); output must reach the front end at once.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::fflush(nullptr);

  char first[INPUT_TOKEN_SIZE];
  readToken(first, sizeof first);
  bool xboard = std::strncmp(first, "xboard", 6) == 0;
  if (!xboard) std::printf("Engine works only with xboard protocol ver. 2\n");
  std::printf("\n");
  std::printf("feature %s=%s\n", "done", "0");
  if (xboard) discardTokens(2);
  std::printf("feature %s=%s\n", "setboard", "1");
  if (xboard) discardTokens(2);

  plies.current = plies.records;
  markerMoveContext = {[] { return unsigned(search.iterationDepth); }, [] { return driver.ponderMove; }};
  InitTables();
  InitPieceSquareTables();
  SearchClear();
  InstallSearchHooks();
  // Until a clock arrives the budget is nothing (two iterations) and there is no hard limit.
  search.limits.hardLimit = MAX_TIME_BUDGET;

  Configuration config = ReadConfiguration("Dorvik.ini");
  if (!config.bitbaseDirectory.empty())
    LoadBitbases(config.bitbaseDirectory.c_str(), config.bitbaseCacheMegabytes, config.bitbaseLoadMode);

  std::printf("feature done=1\n");
  if (xboard) discardTokens(2);

  if (!config.mainBookLoaded) {
    std::printf("BOOK ERROR: %s\n", config.mainBookError.c_str());
    logLine("BOOK ERROR: %s", config.mainBookError.c_str());
  }
  reportBitbases(config);
  return true;
}
