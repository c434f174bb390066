#include "search/poll.h"

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

// The stop flag and the clock; the first two iterations always finish.
bool mustStop() {
  if (search.stopSearch) return true;
  if (TimeUp() && search.iterationDepth > 2) search.stopSearch = 1;
  return search.stopSearch;
}

// The predicted move arrived: the ponder search goes on as the search for the engine's answer,
// charging at most two thirds of the budget for the time already spent.
void ponderHit() {
  search.stopSearch = 0;
  int keep = 2 * timeControl.timeBudget / 3;
  int now = processClock();
  if (now - timeControl.searchStartTime > keep) timeControl.searchStartTime = now - keep;
  ++pos.plyCount;
  ++pos.searchAge;
  driver.ponderMove = 0;
  driver.engineState = THINKING;
  logLine("--- GOOD PONDER --- cmd:%s", driver.inputToken);
}

// "time": the own clock, the next word (normally "otim") and the opponent's clock.
void readTimeLine() {
  int own = 0, opponent = 0;
  char word[INPUT_TOKEN_SIZE] = "";
  if (!readInt(&own) || !readToken(word, sizeof word) || !readInt(&opponent)) {
    logLine("-cC: incomplete time line, budget kept");
    return;
  }
  logLine("%d %s %d [cC]", own, word, opponent);
  ComputeTimeBudget(own);
}

void handToLoop(bool stop) {
  driver.inputPending = true;
  if (stop) search.stopSearch = 1;
}

}  // namespace

void HandleSearchInput() {
  char* token = driver.inputToken;
  if (!readToken(token, INPUT_TOKEN_SIZE)) std::strcpy(token, "quit");
  logLine("-cC: %s", token);

  if (Move m = ParseCoordinateMove(token)) {
    if (driver.engineState == PONDERING && m == driver.ponderMove)
      ponderHit();
    else
      handToLoop(true);
  } else if (std::strcmp(token, "time") == 0) {
    readTimeLine();
  } else if (std::strcmp(token, "?") == 0 || std::strcmp(token, "force") == 0 ||
             std::strcmp(token, "quit") == 0) {
    handToLoop(true);
  } else {
    // A pondering search has no time limit: it stops for anything the loop must handle, so that
    // the token is neither held back indefinitely nor replaced by a later one.
    handToLoop(driver.engineState == PONDERING);
  }
}

bool PollSearch() {
  if (mustStop()) return true;
  // A token already handed to the loop is dispatched first; later input waits behind it.
  if (!driver.inputPending && InputAvailable()) {
    HandleSearchInput();
    if (mustStop()) return true;
  }
  search.nextPollAt += POLL_INTERVAL;
  return false;
}
