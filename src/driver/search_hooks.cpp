#include "driver/search_hooks.h"

#include <cstdio>
#include <cstring>

#include "board/move.h"
#include "driver/command_loop.h"
#include "driver/engine_state.h"
#include "driver/game_flow.h"
#include "driver/time_control.h"
#include "io/input.h"
#include "io/log.h"
#include "search/search_state.h"

namespace {

// The predicted move arrived: the ponder search goes on as the search for the engine's answer,
// charging at most two thirds of the budget for the time already spent.
void ponderHit() {
  search.stopSearch = 0;
  ChargePonderTime();
  search.limits.pondering = false;
  search.limits.maxDepth = driver.depthLimit;
  MoveTimeStarted();
  NotePonderedMovePlayed();
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
  const bool thinking = driver.engineState == THINKING;

  if (Move m = ParseCoordinateMove(token)) {
    if (driver.engineState == PONDERING && m == driver.ponderMove) {
      ponderHit();
      return InputVerdict::NONE;
    }
    return handToLoop(true);
  }
  if (std::strncmp(token, "time", 4) == 0) {
    ReadTimeLine(" [cC]");
    return InputVerdict::NONE;
  }
  if ((thinking && std::strcmp(token, "?") == 0) || std::strcmp(token, "force") == 0 ||
      std::strcmp(token, "quit") == 0)
    return handToLoop(true);
  const CommandEntry* command = FindCommand(token);
  if (!command) {
    ReportUnknownCommand(token);
    return InputVerdict::NONE;
  }
  if (command->kind == CommandKind::AT_ONCE) {
    command->action();
    return InputVerdict::NONE;
  }
  // The search for a move goes on and the loop handles the command after the move. Pondering
  // and analysis have no time limit: they stop for it, so that it is not held back for good.
  return handToLoop(!thinking);
}

void PrintThinking(const IterationReport& r) {
  if (!driver.postThinking) return;
  // The closing line tells the move to be played: analysis plays none, and when a new position
  // has stopped it the line would be taken for the new position's.
  if (r.kind == ReportKind::CLOSING && driver.engineState == ANALYZING) return;
  const char* pv = r.kind == ReportKind::FIXING ? "fixing move..." : r.pv;
  std::printf("    %d     %d     %d     %u  %s\n", r.depth, r.score, r.centiseconds, r.nodes, pv);
}

void InstallSearchHooks() { search.hooks = {PrintThinking, nullptr, pollInput}; }
