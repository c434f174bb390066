#include "search/iterate.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "board/score.h"
#include "io/clock.h"
#include "io/log.h"
#include "movegen/attacks.h"
#include "movegen/validate.h"
#include "search/draws.h"
#include "search/limits.h"
#include "search/poll.h"
#include "search/pv.h"
#include "search/root.h"
#include "search/search_state.h"
#include "search/transtable.h"

namespace {

inline constexpr int FULL_WINDOW_LOW = -MATE_SCORE, FULL_WINDOW_HIGH = MATE_SCORE;

struct Window {
  int alpha = FULL_WINDOW_LOW;
  int beta = FULL_WINDOW_HIGH;
};

// Starts from what the table knows about the root: its window, and for an exact entry its depth.
void seedFromTable(Window& w) {
  PlyRecord* r = plies.records;
  if (!ProbeTable(r)) {
    logLine("---------- brak hm na poczatku!!!");
    return;
  }
  if (r->hashDepth < 2) return;
  int stored = r->hashScore;
  switch (r->hashBound) {
    case BOUND_LOWER:
      if (stored >= matedIn(1)) w.alpha = stored;
      break;
    case BOUND_UPPER:
      if (stored < MATE_SCORE) w.beta = stored;
      break;
    default:
      w.alpha = stored - 30;
      w.beta = stored + 30;
      // Never beyond the depth limit, or no iteration would run at all.
      search.iterationDepth = std::min<uint32_t>(r->hashDepth, search.limits.maxDepth);
      break;
  }
  if (WouldRepeat(r->hashMove)) {
    search.iterationDepth = 2;
    logLine("---------- repetition after hash!!! - cl");
    FlattenTable(r->hashDepth);
  }
  if (!isPseudoLegal(r->hashMove)) {
    search.iterationDepth = 2;
    logLine("---------- illegal move from hash : set 2");
  }
  if (w.alpha > mateIn(MATE_CLAIM_PLIES)) {
    w.beta = MATE_SCORE;
    search.iterationDepth = 2;
    logLine("---------- mate score from hash!!! m:%d", r->hashMove);
    if (w.alpha > mateIn(1)) logLine("------------------------- WARNING: %d", w.alpha);
  }
}

// Hands a line of progress to the caller.
void report(ReportKind kind, int depth, int score, int startClock, const char* pv) {
  if (!search.hooks.iteration) return;
  IterationReport r = {kind, depth, score, (processClock() - startClock) / 10, search.nodeCount, pv};
  search.hooks.iteration(r);
}

// A finished iteration: its move and principal variation become the search's result.
void recordIteration(int score, char* text) {
  PlyRecord* root = plies.records;
  Move best = root->bestMove;
  Move line[PV_MAX_MOVES];
  int depth = int(search.iterationDepth);
  BuildPv(text, std::min(depth, PV_MAX_MOVES), moveType(best) == MARKER ? Move(MOVE_NONE) : best, line);
  search.result = {best, line[1], score, depth};
}

// A search stopped before its first iteration finished still plays the best move it searched
// completely, else the table's move for the root, else the first legal move.
void fillUnfinishedResult() {
  PlyRecord* root = plies.records;
  Move m = root->bestMove;
  if (!isLegalMove(m)) m = ProbeTable(root) ? root->hashMove : Move(MOVE_NONE);
  if (!isLegalMove(m)) m = firstLegalMove();
  search.result = {m, MOVE_NONE, 0, 0};
}

// One iteration: the root search in the window and, when it falls outside, re-searches with the
// window opened on that side, then fully. The budget may be widened while they run.
int aspirationSearch(Window& w) {
  int score = RootSearch(w.alpha, w.beta);
  if (search.stopSearch || (score > w.alpha && score < w.beta)) return score;
  bool extend = !search.allRootMovesDrawn && search.limits.mayExtend;
  if (score <= w.alpha) {
    search.aspirationResearch = -1;
    if (extend) ExtendBudget(3);
    w = {FULL_WINDOW_LOW, score + 1};
  } else {
    search.aspirationResearch = 1;
    if (extend) ExtendBudget(2);
    w = {score - 1, mateIn(1)};
  }
  score = RootSearch(w.alpha, w.beta);
  if (!search.stopSearch && (score <= w.alpha || score >= w.beta)) {
    if (extend) ExtendBudget(2);
    w = {FULL_WINDOW_LOW, mateIn(1)};
    score = RootSearch(w.alpha, w.beta);
  }
  search.aspirationResearch = 0;
  EndBudgetExtension();
  return score;
}

}  // namespace

int16_t IterativeDeepening() {
  if (DrawTest(2)) return 0;

  PlyRecord* root = plies.records;
  moveStack[0].move = MOVE_NONE;
  search.checkCount[0] = search.checkCount[1] = 0;
  root->listEnd = nullptr;
  search.nodeCount = 0;
  search.nextPollAt = PollInterval();
  search.iterationDepth = 2;
  search.callerWaiting = false;
  search.result = {};
  Window w;
  seedFromTable(w);

  int startClock = processClock();
  char text[512];
  PositionToFen(text);
  logLine("-FEN:\t%s", text);
  computeCheckInfo(root);

  bool fixing = false;
  int mates = 0, lastScore = 0, score = 0;
  for (;;) {
    while (search.iterationDepth <= search.limits.maxDepth) {
      score = aspirationSearch(w);
      if (search.stopSearch) break;
      recordIteration(score, text);
      if ((search.iterationDepth > 2 && TimeUp()) || HardLimitReached()) {
        search.stopSearch = 1;
        break;
      }
      if (root->bestMove == MARK_STALEMATE) {
        logLine("-----STALEMATED---");
        break;
      }
      if (search.limits.pondering) logLine("---PONDER:");

      int depth = int(search.iterationDepth);
      lastScore = score;
      logLine("-E: %d:\t%d\t%d\t%s", depth, score, (processClock() - startClock) / 10, text);
      report(ReportKind::ITERATION, depth, score, startClock, text);

      ++search.iterationDepth;
      if (score <= matedIn(depth) || score >= mateIn(depth)) {
        logLine("--- MATE: %d", score);
        if (++mates >= 4) break;
      }
      w = {std::max(score - 30, -MATE_SCORE), std::min(score + 30, MATE_SCORE)};
    }

    // The closing line shows the result that will be played; a search stopped before any
    // iteration finished has none to show.
    int lastDepth = int(search.iterationDepth) - 1, rootScore;
    if (search.result.move) {
      lastDepth = search.result.depth;
      rootScore = search.result.score;
      Move best = search.result.move;
      BuildPv(text, std::min(lastDepth, PV_MAX_MOVES), moveType(best) == MARKER ? Move(MOVE_NONE) : best);
    } else {
      rootScore = BuildPv(text, std::min(lastDepth, PV_MAX_MOVES));
    }
    logLine("-E (-): %d:\t%d\t%d\t%s", lastDepth, rootScore, (processClock() - startClock) / 10, text);
    if (search.result.move) report(ReportKind::CLOSING, lastDepth, rootScore, startClock, text);

    // A search cut short by the clock before depth 6 gets one more full budget; a stop asked for
    // by the caller is obeyed at once.
    bool stoppedForTime = search.stopSearch && !search.callerWaiting;
    if (!stoppedForTime || search.iterationDepth > 5 || fixing || search.limits.pondering || HardLimitReached())
      break;
    fixing = true;
    logLine("fixing move... ********************: depth=%d", search.iterationDepth);
    report(ReportKind::FIXING, lastDepth, rootScore, startClock, "");
    search.stopSearch = 0;
    search.limits.startTime = processClock();
  }
  if (!search.result.move) fillUnfinishedResult();
  if (search.hooks.bestMove) search.hooks.bestMove(search.result);
  return int16_t(lastScore);
}
