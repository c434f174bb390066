#include "driver/game_flow.h"

#include <cstdio>
#include <cstring>

#include "board/move.h"
#include "board/position.h"
#include "board/score.h"
#include "book/book_move.h"
#include "book/book_probe.h"
#include "driver/engine_state.h"
#include "driver/game_position.h"
#include "driver/time_control.h"
#include "driver/xboard_settings.h"
#include "io/clock.h"
#include "io/log.h"
#include "movegen/attacks.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "search/draws.h"
#include "search/iterate.h"
#include "search/search_state.h"
#include "search/transtable.h"

namespace {

// The record used only to make and take back the pondered move, outside the search's stack.
PlyRecord ponderPly;

const char* drawClaim(Move marker, bool afterMove) {
  switch (marker) {
    case MARK_STALEMATE: return afterMove ? nullptr : "1/2-1/2 {Draw by stalemate (1)}\n";
    case MARK_REPETITION:
      return afterMove ? "1/2-1/2 {Draw by 3 fold repetition (22)}\n" : "1/2-1/2 {Draw by 3 fold repetition (2)}\n";
    case MARK_FIFTY: return afterMove ? "1/2-1/2 {Draw by 50 moves rule (33)}\n" : "1/2-1/2 {Draw by 50 moves rule (3)}\n";
    case MARK_MATERIAL:
      return afterMove ? "1/2-1/2 {Draw by insufficient material to mate (44)}\n"
                       : "1/2-1/2 {Draw by insufficient material to mate (4)}\n";
    default: return nullptr;
  }
}

// A search stopped by "force", "quit" or an unexpected move must not send a move.
bool stoppedWithoutMove() {
  if (!driver.inputPending) return false;
  const char* t = driver.inputToken;
  return std::strncmp(t, "force", 5) == 0 || std::strncmp(t, "quit", 4) == 0 || ParseCoordinateMove(t) != 0;
}

// Plays the search's result and returns the claim that goes with it, if any; rootDepth receives
// the depth of the iteration that chose the move. The move is the last finished iteration's own:
// the root's table entry may hold an older, deeper result that the store rule would not replace.
const char* playResult(int& rootDepth) {
  PlyRecord* root = plies.records;
  rootDepth = 0;
  Move move;
  int score = 0;
  if (Move draw = DrawTest(2)) {
    move = draw;
  } else {
    move = search.result.move;
    score = search.result.score;
    rootDepth = search.result.depth;
    logLine("\r\n------M: mv%d sc: %d d: %d\r\n", move, score, rootDepth);
  }
  if (move == MARK_MATED) return pos.sideToMove == BLACK ? "1-0 {Dorvik mated 0}\n" : "0-1 {Dorvik mated 0}\n";
  if (moveType(move) == MARKER) return drawClaim(move, false);

  PlayGameMove(move);
  char text[8];
  MoveToText(move, text);
  std::printf("move %s\n", text);
  MoveTimeEnded();
  logLine("\r\nmove %s:\tscore: %d", text, score);
  const char* whiteWins = pos.sideToMove == BLACK ? "1-0" : "0-1";
  static char claim[32];
  if (score == mateIn(1)) {
    std::snprintf(claim, sizeof claim, "%s {Dorvik mates 1}\n", whiteWins);
    return claim;
  }
  if (score > mateIn(MATE_CLAIM_PLIES)) {
    if (ProbeTable(root) && root->hashMove == MARK_MATED) {
      std::snprintf(claim, sizeof claim, "%s {Dorvik mates 1#}\n", whiteWins);
      return claim;
    }
    return nullptr;
  }
  return drawClaim(DrawTest(2), true);
}

// The reply the search expects from the opponent: the second move of the last finished
// iteration's principal variation, when it is sound.
Move expectedReply() {
  const SearchResult& r = search.result;
  if (isMateScore(r.score)) return 0;
  return isLegalMove(r.ponder) ? r.ponder : 0;
}

// Makes the expected reply and searches on it until the front end's next token arrives.
void ponder(Move m) {
  char text[8];
  MoveToText(m, text);
  logLine("-ponder move: %s", text);
  saveSnapshot(&ponderPly);
  driver.engineState = PONDERING;
  driver.ponderMove = m;
  plies.current = &ponderPly;
  makeMove(m, &ponderPly);
  plies.current = plies.records;
  logLine("-M: entered StartEngine, goodPonder: 0");
  search.limits.maxDepth = MAX_SEARCH_DEPTH;
  search.limits.pondering = true;
  search.limits.infinite = false;
  search.stopSearch = 0;
  search.limits.startTime = processClock();
  logLine("*** xxx czas uzyty: %d", processClock() - search.limits.startTime);
  IterativeDeepening();
}

}  // namespace

void KeepTableBetweenMoves(int searchDepth) {
  if (pos.historyTop->reversibleCount > 80) FlattenTable(searchDepth);
  else AgeTableByPly();
}

void StopEngine() {
  logLine("-M: entered StopEngine");
  TakeBackPonderMove();
  driver.engineState = FORCE_MODE;
  search.stopSearch = 1;
  search.limits.startTime = 0;
  logLine("-M: exited StopEngine");
}

void TakeBackPonderMove() {
  if (driver.engineState == PONDERING && driver.ponderMove) unmakeMove(driver.ponderMove, &ponderPly);
  driver.ponderMove = MOVE_NONE;
}

void AcceptPonderedMove() {
  Move played = driver.ponderMove;
  NotePonderedMovePlayed();
  RecordGameMove(played);
  SyncRootSnapshot();
}

void NotePonderedMovePlayed() {
  ++pos.plyCount;
  ++pos.searchAge;
  driver.ponderMove = MOVE_NONE;
}

void StartEngine(bool goodPonder) {
  logLine("-M: entered StartEngine, goodPonder: %d", goodPonder ? 1 : 0);
  SearchLimits& limits = search.limits;
  limits.maxDepth = driver.depthLimit;
  limits.pondering = false;
  limits.infinite = false;
  search.stopSearch = 0;
  if (goodPonder) ChargePonderTime();
  else limits.startTime = processClock();
  logLine("*** xxx czas uzyty: %d", processClock() - limits.startTime);
  IterativeDeepening();
}

void think() {
  driver.engineSide = pos.sideToMove;
  MoveTimeStarted();
  bool ponderHit = driver.engineState == PONDERING;
  logLine("entered think: %d", ponderHit ? 1 : 0);
  if (pos.plyCount < BOOK_PLIES) {
    logLine("getBookMove");
    Move m = getBookMove();
    logLine("bookMove %d", m);
    if (m) {
      PlayGameMove(m);
      char text[8];
      MoveToText(m, text);
      std::printf("move %s\n", text);
      MoveTimeEnded();
      logLine("move (book) %s", text);
      driver.engineState = PLAYING;
      logLine("- NO ponder move");
      return;
    }
  }
  driver.engineState = THINKING;
  logLine("start engine");
  StartEngine(ponderHit);

  for (;;) {
    if (stoppedWithoutMove()) {
      driver.engineState = PLAYING;
      AnswerOwedPing();
      return;
    }
    int rootDepth;
    const char* claim = playResult(rootDepth);
    driver.engineState = PLAYING;
    if (claim) std::printf("%s", claim);
    AnswerOwedPing();
    if (claim) break;
    KeepTableBetweenMoves(rootDepth);
    if (!driver.ponderEnabled) break;
    // A command the search read waits for the loop. A ponder search would hold it back for good:
    // it reads no more input while one is pending, and it has no time limit.
    if (driver.inputPending) break;
    Move reply = expectedReply();
    if (!reply) {
      logLine("-************** NO ponder move, clock:%d", processClock());
      break;
    }
    ponder(reply);
    if (driver.engineState != THINKING) return;
    // The predicted move came during the ponder search, which went on as thinking: it is part of
    // the game now (the search has counted it).
    RecordGameMove(reply);
    SyncRootSnapshot();
  }
  if (driver.engineState == PLAYING) logLine("- NO ponder move");
}
