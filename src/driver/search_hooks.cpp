#include "driver/search_hooks.h"

#include <cstdio>
#include <cstring>

#include "board/move.h"
#include "board/position.h"
#include "driver/engine_state.h"
#include "driver/time_control.h"
#include "io/clock.h"
#include "io/input.h"
#include "io/log.h"
#include "search/search_state.h"

namespace {

// The predicted move arrived: the ponder search goes on as the search for the engine's answer,
// charging at most two thirds of the budget for the time already spent.
void ponderHit() {
  search.stopSearch = 0;
  SearchLimits& limits = search.limits;
  int keep = 2 * limits.budget / 3;
  int now = processClock();
  if (now - limits.startTime > keep) limits.startTime = now - keep;
  limits.pondering = false;
  MoveTimeStarted();
  ++pos.plyCount;
  ++pos.searchAge;
  driver.ponderMove = 0;
  driver.engineState = THINKING;
  logLine("--- GOOD PONDER --- cmd:%s", driver.inputToken);
}

// The token waits for the command loop; whether the search stops for it.
InputVerdict handToLoop(bool stop) {
  driver.inputPending = true;
  return stop ? InputVerdict::STOP : InputVerdict::HOLD;
}

InputVerdict pollInput() {
  if (driver.inputPending || !InputAvailable()) return InputVerdict::NONE;
  return HandleSearchInput();
}

}  // namespace

InputVerdict HandleSearchInput() {
  char* token = driver.inputToken;
  if (!readToken(token, INPUT_TOKEN_SIZE)) std::strcpy(token, "quit");
  logLine("-cC: %s", token);

  if (Move m = ParseCoordinateMove(token)) {
    if (driver.engineState == PONDERING && m == driver.ponderMove) {
      ponderHit();
      return InputVerdict::NONE;
    }
    return handToLoop(true);
  }
  if (std::strcmp(token, "time") == 0) {
    ReadTimeLine(" [cC]");
    return InputVerdict::NONE;
  }
  if (std::strcmp(token, "?") == 0 || std::strcmp(token, "force") == 0 || std::strcmp(token, "quit") == 0)
    return handToLoop(true);
  // A pondering search has no time limit: it stops for anything the loop must handle, so that
  // the token is neither held back indefinitely nor replaced by a later one.
  return handToLoop(driver.engineState == PONDERING);
}

void PrintThinking(const IterationReport& r) {
  const char* pv = r.kind == ReportKind::FIXING ? "fixing move..." : r.pv;
  std::printf("    %d     %d     %d     %u  %s\n", r.depth, r.score, r.centiseconds, r.nodes, pv);
}

void InstallSearchHooks() { search.hooks = {PrintThinking, nullptr, pollInput}; }
