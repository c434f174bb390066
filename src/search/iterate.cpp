#include "search/iterate.h"

#include <algorithm>
#include <cstdint>

#include "board/fen.h"
#include "board/move.h"
#include "board/score.h"
#include "io/clock.h"
#include "io/log.h"
#include "movegen/attacks.h"
#include "movegen/validate.h"
#include "search/best_thread.h"
#include "search/draws.h"
#include "search/node_steps.h"
#include "search/poll.h"
#include "search/pv.h"
#include "search/root.h"
#include "search/time_rules.h"

namespace {

inline constexpr int FULL_WINDOW_LOW = -MATE_SCORE, FULL_WINDOW_HIGH = MATE_SCORE;
// Half the width of the window an iteration starts with around the last one's score.
inline constexpr int ASPIRATION_MARGIN = 30;
// A search that has found a mate stops after this many iterations that keep finding it.
inline constexpr int MATE_ITERATIONS = 4;

struct Window {
  int alpha = FULL_WINDOW_LOW;
  int beta = FULL_WINDOW_HIGH;
};

bool isMain(const SearchState& s) { return s.id == 0; }

// Starts from what the table knows about the root: its window, and for an exact entry its depth.
void seedFromTable(SearchState& s, Window& w) {
  PlyRecord* r = s.plies;
  if (!probeTable(s, r)) {
    if (isMain(s)) logLine("---------- brak hm na poczatku!!!");
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
      w.alpha = stored - ASPIRATION_MARGIN;
      w.beta = stored + ASPIRATION_MARGIN;
      // Never beyond the depth limit, or no iteration would run at all.
      s.iterationDepth = std::min<int>(r->hashDepth, s.shared.limits.maxDepth);
      break;
  }
  if (WouldRepeat(s.pos, r->hashMove)) {
    s.iterationDepth = MIN_SEARCH_DEPTH;
    if (isMain(s)) {
      logLine("---------- repetition after hash!!! - cl");
      s.shared.table.flatten(r->hashDepth);
    }
  }
  if (!isPseudoLegal(s.pos, r->hashMove)) {
    s.iterationDepth = MIN_SEARCH_DEPTH;
    if (isMain(s)) logLine("---------- illegal move from hash : set 2");
  }
  if (w.alpha > mateIn(MATE_CLAIM_PLIES)) {
    w.beta = MATE_SCORE;
    s.iterationDepth = MIN_SEARCH_DEPTH;
    if (isMain(s)) logLine("---------- mate score from hash!!! m:%d", r->hashMove);
  }
}

int64_t elapsedSince(const std::atomic<int64_t>& start) {
  return steadyMilliseconds() - start.load(std::memory_order_relaxed);
}

// Hands a line of progress to the caller; only the main thread reports.
void report(SearchState& s, ReportKind kind, int depth, int score, int bound, const PrincipalVariation& pv,
            int line = 1) {
  if (!isMain(s) || !s.shared.hooks.report) return;
  s.publishedNodes.store(s.nodeCount, std::memory_order_relaxed);
  IterationReport r;
  r.kind = kind;
  r.depth = depth;
  r.selectiveDepth = std::max(s.selectiveDepth, depth);
  // Where the bitbases decide the root, its lines show their value, unless the search found a mate.
  const bool byTables = s.rootTableScore != NO_TABLE_SCORE && !isFoundMate(score);
  r.score = byTables ? s.rootTableScore : score;
  r.bound = byTables ? BOUND_EXACT : bound;
  r.line = line;
  r.milliseconds = elapsedSince(s.shared.clock.startTime);
  r.nodes = s.shared.totalNodes();
  r.hashfull = s.shared.table.hashfull();
  r.pv = pv;
  s.shared.hooks.report(r);
}

// The line the search will play: its move first, then the table's.
int16_t resultLine(SearchState& s, Move first, int depth, PrincipalVariation& pv, char* text) {
  const Move shown = moveType(first) == MARKER ? Move(MOVE_NONE) : first;
  return BuildPv(s.pos, s.shared.table, std::min(depth, PV_MAX_MOVES), shown, pv, text);
}

// A finished iteration: its move and principal variation become the search's result.
void recordIteration(SearchState& s, int score, PrincipalVariation& pv, char* text) {
  const Move best = s.plies[0].bestMove;
  resultLine(s, best, s.iterationDepth, pv, text);
  s.result = {best, pv.count > 1 ? pv.moves[1] : Move(MOVE_NONE), score, s.iterationDepth};
  s.publishedBest.store(moveType(best) == MARKER ? Move(MOVE_NONE) : best, std::memory_order_relaxed);
}

// A search stopped before its first iteration finished still plays the best move it searched
// completely, else the table's move for the root, else the first legal move.
// The closing line shows the table's score and depth for it, or the evaluation at depth 0.
void fillUnfinishedResult(SearchState& s) {
  PlyRecord* root = s.plies;
  const bool tableMove = probeTable(s, root) && isLegalMove(s.pos, root->hashMove);
  Move m = root->bestMove;
  if (!isLegalMove(s.pos, m)) m = tableMove ? root->hashMove : firstLegalMove(s.pos);
  if (!m) return;
  PrincipalVariation pv;
  resultLine(s, m, PV_MAX_MOVES, pv, nullptr);
  const Move ponder = pv.count > 1 ? pv.moves[1] : Move(MOVE_NONE);
  if (tableMove && m == root->hashMove)
    s.result = {m, ponder, root->hashScore, root->hashDepth, root->hashBound};
  else
    s.result = {m, ponder, evaluate(s), 0};
}

// An iteration cut short counts once a root move has been searched fully and beat the window's
// lower bound: its best move so far is played.
void takeInterruptedIteration(SearchState& s) {
  if (!s.iterationMove || !isLegalMove(s.pos, s.iterationMove)) return;
  if (s.result.move && s.iterationMove == s.result.move) return;
  PrincipalVariation pv;
  resultLine(s, s.iterationMove, s.iterationDepth, pv, nullptr);
  s.result = {s.iterationMove, pv.count > 1 ? pv.moves[1] : Move(MOVE_NONE), s.iterationScore, s.iterationDepth};
}

// One iteration: the root search in the window and, when it falls outside, re-searches with the
// window opened on that side, then fully.
int aspirationSearch(SearchState& s, Window& w) {
  int score = RootSearch(s, w.alpha, w.beta);
  if (s.stopped() || (score > w.alpha && score < w.beta)) return score;
  if (isMain(s)) {
    PrincipalVariation pv;
    resultLine(s, s.plies[0].bestMove, s.iterationDepth, pv, nullptr);
    report(s, ReportKind::BOUND, s.iterationDepth, score, score <= w.alpha ? BOUND_UPPER : BOUND_LOWER, pv);
  }
  if (score <= w.alpha) {
    s.aspirationResearch = -1;
    w = {FULL_WINDOW_LOW, score + 1};
  } else {
    s.aspirationResearch = 1;
    w = {score - 1, mateIn(1)};
  }
  score = RootSearch(s, w.alpha, w.beta);
  if (!s.stopped() && (score <= w.alpha || score >= w.beta)) {
    w = {FULL_WINDOW_LOW, mateIn(1)};
    score = RootSearch(s, w.alpha, w.beta);
  }
  s.aspirationResearch = 0;
  return score;
}

// After the best line of an iteration, the next best ones up to the number asked for: each leaves
// out the moves of the lines before it. Only the main thread searches them.
void searchOtherLines(SearchState& s) {
  const int lines = std::min(s.shared.limits.multiPv, s.publishedRootMoves.load(std::memory_order_relaxed));
  PlyRecord* root = s.plies;
  s.rootExcluded[0] = root->bestMove;
  s.rootExcludedCount = 1;
  for (int line = 2; line <= lines; ++line) {
    const int score = RootSearch(s, -MATE_SCORE, MATE_SCORE);
    const Move m = root->bestMove;
    if (s.stopped() || moveType(m) == MARKER || m == MOVE_NONE) break;
    PrincipalVariation pv;
    resultLine(s, m, s.iterationDepth, pv, nullptr);
    report(s, ReportKind::ITERATION, s.iterationDepth, score, BOUND_EXACT, pv, line);
    s.rootExcluded[s.rootExcludedCount++] = m;
  }
  s.rootExcludedCount = 0;
  // The root record holds the best line's move again, for the iterations that follow.
  root->bestMove = s.rootExcluded[0];
}

// Between iterations the main thread decides whether the time allows another one.
bool timeForAnotherIteration(SearchState& s, IterationProgress& progress, int64_t iterationStart) {
  const SearchClock& clock = s.shared.clock;
  if (!isMain(s) || !clock.timed.load(std::memory_order_relaxed)) return true;
  const int64_t now = steadyMilliseconds();
  progress.elapsed = now - clock.startTime.load(std::memory_order_relaxed);
  progress.lastIterationTime = now - iterationStart;
  progress.depth = s.iterationDepth;
  if (clock.pondering.load(std::memory_order_relaxed)) return true;
  const int64_t optimum = clock.optimum.load(std::memory_order_relaxed);
  const int64_t maximum = clock.maximum.load(std::memory_order_relaxed);
  // A fixed time per move is all spent: what the interrupted iteration found counts.
  if (optimum >= maximum) return true;
  const int64_t charged = now - clock.moveStart.load(std::memory_order_relaxed);
  // The maximum runs from the moment the move was charged; the optimum from the search's start, so
  // that a ponder hit keeps the time spent pondering.
  return !StopBetweenIterations(progress, optimum, maximum - (charged - progress.elapsed));
}

}  // namespace

uint64_t SearchShared::totalNodes() const {
  if (threadCount == 0) return 0;
  uint64_t total = 0;
  for (int i = 0; i < threadCount; ++i) total += threads[i]->publishedNodes.load(std::memory_order_relaxed);
  return total;
}

void ResetSearchState(SearchState& s) {
  ResetHistoryTables(s.history);
  for (PlyRecord& r : s.plies) r.killer1 = r.killer2 = 0;
  s.result = {};
}

int16_t IterativeDeepening(SearchState& s) {
  s.result = {};
  s.rootTableScore = NO_TABLE_SCORE;
  s.nodeCount = 0;
  s.movesMade = 0;
  s.selectiveDepth = 0;
  s.publishedNodes.store(0, std::memory_order_relaxed);
  s.publishedDepth.store(0, std::memory_order_relaxed);
  s.publishedRootMove.store(0, std::memory_order_relaxed);
  s.publishedBest.store(MOVE_NONE, std::memory_order_relaxed);
  if (DrawTest(s.pos, 2)) return 0;

  PlyRecord* root = s.plies;
  s.moveStack[0].move = MOVE_NONE;
  s.checkCount[0] = s.checkCount[1] = 0;
  root->listEnd = nullptr;
  StartPolling(s);
  s.iterationDepth = std::min(MIN_SEARCH_DEPTH, s.shared.limits.maxDepth);
  Window w;
  seedFromTable(s, w);

  char text[PV_BUFFER_SIZE];
  if (isMain(s)) {
    char fen[128];
    PositionToFen(s.pos, fen);
    logLine("-FEN:\t%s", fen);
  }
  computeCheckInfo(s.pos, root);

  IterationProgress progress = {};
  Move lastBest = MOVE_NONE;
  int mates = 0, lastScore = 0, score = 0, finished = 0;
  int recentScores[SCORE_DROP_SPAN + 1] = {};  // of the last finished iterations, by finished % (span + 1)
  while (s.iterationDepth <= s.shared.limits.maxDepth) {
    const int64_t iterationStart = steadyMilliseconds();
    s.iterationMove = MOVE_NONE;
    s.publishedDepth.store(s.iterationDepth, std::memory_order_relaxed);
    score = aspirationSearch(s, w);
    if (s.stopped()) break;
    PrincipalVariation pv;
    recordIteration(s, score, pv, text);
    if (root->bestMove == MARK_STALEMATE) {
      if (isMain(s)) logLine("-----STALEMATED---");
      break;
    }
    const int depth = s.iterationDepth;
    progress.stableIterations = finished > 0 && root->bestMove == lastBest ? progress.stableIterations + 1 : 0;
    const int earlier = finished < SCORE_DROP_SPAN ? 0 : finished - SCORE_DROP_SPAN;
    progress.scoreDrop = finished > 0 ? recentScores[earlier % (SCORE_DROP_SPAN + 1)] - score : 0;
    recentScores[finished++ % (SCORE_DROP_SPAN + 1)] = score;
    lastBest = root->bestMove;
    lastScore = score;
    if (isMain(s)) {
      if (s.shared.clock.pondering.load(std::memory_order_relaxed)) logLine("---PONDER:");
      logLine("-E: %d:\t%d\t%d\t%s", depth, score, int(elapsedSince(s.shared.clock.startTime) / 10), text);
      report(s, ReportKind::ITERATION, depth, score, BOUND_EXACT, pv);
      if (s.shared.limits.multiPv > 1) searchOtherLines(s);
    }

    ++s.iterationDepth;
    if (score <= matedIn(depth) || score >= mateIn(depth)) {
      if (isMain(s)) logLine("--- MATE: %d", score);
      if (++mates >= MATE_ITERATIONS) break;
    }
    if (!timeForAnotherIteration(s, progress, iterationStart)) break;
    w = {std::max(score - ASPIRATION_MARGIN, -MATE_SCORE), std::min(score + ASPIRATION_MARGIN, MATE_SCORE)};
  }

  if (s.stopped()) takeInterruptedIteration(s);
  if (!s.result.move) fillUnfinishedResult(s);
  s.publishedNodes.store(s.nodeCount, std::memory_order_relaxed);
  return int16_t(lastScore);
}

void FinishSearch(SearchShared& shared) {
  SearchState& s = *shared.threads[0];
  const SearchState& chosen = ChooseThread(shared);
  if (&chosen != &s) {
    logLine("-- thread %d's move: depth %d, score %d", chosen.id, chosen.result.depth, chosen.result.score);
    s.result = chosen.result;
  }
  // The closing line shows the result that will be played, whatever stopped the search.
  char text[PV_BUFFER_SIZE];
  PrincipalVariation pv;
  const int closingDepth = s.result.depth;
  resultLine(s, s.result.move, std::max(closingDepth, 1), pv, text);
  logLine("-E (-): %d:\t%d\t%d\t%s", closingDepth, s.result.score, int(elapsedSince(s.shared.clock.startTime) / 10),
          text);
  if (s.result.move) report(s, ReportKind::CLOSING, closingDepth, s.result.score, s.result.bound, pv);
}
