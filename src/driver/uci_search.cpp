#include "driver/uci_search.h"

#include <algorithm>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/move.h"
#include "board/position.h"
#include "board/score.h"
#include "book/book_move.h"
#include "driver/engine_state.h"
#include "driver/game_flow.h"
#include "driver/legal_moves.h"
#include "driver/time_control.h"
#include "driver/uci_loop.h"
#include "driver/uci_options.h"
#include "io/clock.h"
#include "io/input.h"
#include "io/log.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "search/iterate.h"
#include "search/pv.h"
#include "search/search_state.h"
#include "search/transtable.h"

namespace {

constexpr int64_t NOT_GIVEN = -1;

struct GoRequest {
  int64_t whiteTime = NOT_GIVEN, blackTime = NOT_GIVEN;
  int64_t whiteIncrement = NOT_GIVEN, blackIncrement = NOT_GIVEN;
  int64_t movesToGo = NOT_GIVEN, moveTime = NOT_GIVEN;
  int64_t depth = NOT_GIVEN, nodes = NOT_GIVEN, mate = NOT_GIVEN;
  bool infinite = false, ponder = false;
  bool malformed = false;  // a value could not be read
};

struct NumberParameter {
  const char* name;
  int64_t GoRequest::*field;
};

constexpr NumberParameter Numbers[] = {
    {"wtime", &GoRequest::whiteTime}, {"btime", &GoRequest::blackTime},   {"winc", &GoRequest::whiteIncrement},
    {"binc", &GoRequest::blackIncrement}, {"movestogo", &GoRequest::movesToGo}, {"movetime", &GoRequest::moveTime},
    {"depth", &GoRequest::depth},      {"nodes", &GoRequest::nodes},      {"mate", &GoRequest::mate},
};

struct UciSearch {
  bool waitsForStop;  // "infinite" or "ponder": the best move waits for "stop" or "ponderhit"
  bool stopped;       // "stop" came
};
UciSearch uciSearch;

// The number after a parameter; false when it is missing or cannot be read.
bool readNumber(LineWords& words, const char* name, int64_t& value) {
  const char* word = words.next();
  char* end = nullptr;
  value = word ? std::strtoll(word, &end, 10) : 0;
  if (word && end != word && !*end) return true;
  UciMessage("go: %s takes a number, not '%s': the move is made at once", name, word ? word : "");
  return false;
}

GoRequest readGo(LineWords& words) {
  GoRequest go;
  bool inSearchMoves = false;
  for (const char* word; (word = words.next());) {
    const NumberParameter* number = nullptr;
    for (const NumberParameter& p : Numbers)
      if (std::strcmp(word, p.name) == 0) number = &p;
    if (number) {
      if (!readNumber(words, word, go.*(number->field))) go.malformed = true;
      inSearchMoves = false;
    } else if (std::strcmp(word, "infinite") == 0) {
      go.infinite = true;
    } else if (std::strcmp(word, "ponder") == 0) {
      go.ponder = true;
    } else if (std::strcmp(word, "searchmoves") == 0) {
      inSearchMoves = true;
      UciMessage("go: searchmoves is not supported: every move is searched");
    } else if (!inSearchMoves) {
      UciMessage("go: unknown parameter %s", word);
    }
  }
  // A request that cannot be understood is answered at once rather than not at all.
  if (go.malformed) {
    go.moveTime = 1;
    go.infinite = go.ponder = false;
  }
  return go;
}

int clampInt(int64_t value) { return int(std::clamp<int64_t>(value, 0, INT_MAX)); }

void setLimits(const GoRequest& go) {
  SearchLimits& limits = search.limits;
  // A mate in N moves is found within 2N plies.
  int64_t depth = go.depth != NOT_GIVEN ? go.depth : go.mate != NOT_GIVEN ? 2 * go.mate : MAX_SEARCH_DEPTH;
  limits.maxDepth = uint32_t(std::clamp<int64_t>(depth, MIN_SEARCH_DEPTH, MAX_SEARCH_DEPTH));
  limits.pondering = go.ponder;
  const bool white = pos.sideToMove == WHITE;
  int64_t clock = white ? go.whiteTime : go.blackTime;
  int64_t increment = white ? go.whiteIncrement : go.blackIncrement;
  limits.infinite = go.infinite || (clock == NOT_GIVEN && go.moveTime == NOT_GIVEN);
  limits.nodeLimit = go.nodes != NOT_GIVEN ? uint32_t(std::clamp<int64_t>(go.nodes, 1, UINT32_MAX))
                     : limits.infinite   ? UNTIMED_NODE_LIMIT
                                         : 0;
  if (!limits.infinite) {
    GoClock c = {clock, clampInt(increment), clampInt(go.movesToGo),
                 go.moveTime == NOT_GIVEN ? 0 : std::max(clampInt(go.moveTime), 1)};
    ComputeGoBudget(c);
  }
  limits.startTime = processClock();
  search.stopSearch = 0;
  search.callerWaiting = false;
}

// The predicted move was played: the search goes on as the search for the engine's move, its
// clock running from now.
void ponderHit() {
  if (!search.limits.pondering) return;
  ChargePonderTime();
  search.limits.pondering = false;
  MoveTimeStarted();
  uciSearch.waitsForStop = search.limits.infinite;
}

// A line read while the search runs or its best move waits: what it means for the search.
InputVerdict handleLine(bool lineRead) {
  if (!lineRead) {
    std::strcpy(uci.line, "quit");
    uci.linePending = true;
    return InputVerdict::STOP;
  }
  char word[16];
  FirstWord(uci.line, word, sizeof word);
  if (!word[0] || std::strcmp(word, "debug") == 0) return InputVerdict::NONE;
  if (std::strcmp(word, "isready") == 0) {
    std::printf("readyok\n");
    return InputVerdict::NONE;
  }
  if (std::strcmp(word, "ponderhit") == 0) {
    ponderHit();
    return InputVerdict::NONE;
  }
  if (std::strcmp(word, "stop") == 0) {
    uciSearch.stopped = true;
    return InputVerdict::STOP;
  }
  if (IsUciCommand(word)) {
    // Any other command ends the search; the loop handles it after the best move.
    uci.linePending = true;
    return InputVerdict::STOP;
  }
  UciMessage("unknown command during the search: %s", word);
  return InputVerdict::NONE;
}

InputVerdict pollInput() {
  if (uci.linePending || !InputAvailable()) return InputVerdict::NONE;
  return handleLine(ReadUciLine("-cC: "));
}

// The legal start of a line of moves, written into `out`: the moves up to the first that is not
// legal after those before it. Returns how many moves it kept.
int legalLineStart(const char* line, char* out, size_t size) {
  char text[PV_BUFFER_SIZE];
  std::snprintf(text, sizeof text, "%s", line);
  LineWords words{text};
  PlyRecord records[PV_MAX_MOVES];
  Move made[PV_MAX_MOVES];
  int count = 0;
  size_t length = 0;
  out[0] = '\0';
  for (const char* word; count < PV_MAX_MOVES && (word = words.next());) {
    Move m = LegalMoveFromText(word);
    if (!m) break;
    int n = std::snprintf(out + length, size - length, "%s%s", count ? " " : "", word);
    if (n < 0 || size_t(n) >= size - length) break;
    length += size_t(n);
    saveSnapshot(&records[count]);
    makeMove(m, &records[count]);
    made[count++] = m;
  }
  for (int i = count - 1; i >= 0; --i) unmakeMove(made[i], &records[i]);
  return count;
}

// How a score is given in an info line: "cp N", or "mate N" in moves, negative when the engine is
// mated.
void formatScore(int score, char* text, size_t size) {
  // Beyond the bitbases' largest score every score is a mate, MATE_SCORE less its distance in plies.
  if (score > BITBASE_LIMIT) std::snprintf(text, size, "mate %d", (MATE_SCORE - score + 1) / 2);
  else if (score < -BITBASE_LIMIT) std::snprintf(text, size, "mate -%d", (MATE_SCORE + score + 1) / 2);
  else std::snprintf(text, size, "cp %d", score);
}

void printInfo(const IterationReport& r) {
  if (r.kind != ReportKind::ITERATION) return;
  char pv[PV_BUFFER_SIZE], score[32];
  legalLineStart(r.pv, pv, sizeof pv);
  formatScore(r.score, score, sizeof score);
  int64_t ms = int64_t(r.centiseconds) * 10;
  int64_t nps = ms > 0 ? int64_t(r.nodes) * 1000 / ms : 0;
  std::printf("info depth %d score %s nodes %u nps %" PRId64 " time %" PRId64 "%s%s\n", r.depth, score, r.nodes,
              nps, ms, pv[0] ? " pv " : "", pv);
}

// The move to play: the search's, else (a drawn position is not searched) the table's, else the
// first legal move; 0 when there is none.
Move chosenMove() {
  if (isLegalMove(search.result.move)) return search.result.move;
  PlyRecord probe;
  if (ProbeTable(&probe) && isLegalMove(probe.hashMove)) return probe.hashMove;
  return firstLegalMove();
}

// The reply the search expects to the move, when it is legal there.
Move expectedReply(Move best) {
  if (best != search.result.move || !search.result.ponder) return MOVE_NONE;
  char line[16], kept[16], first[8], second[8];
  MoveToText(best, first);
  MoveToText(search.result.ponder, second);
  std::snprintf(line, sizeof line, "%s %s", first, second);
  return legalLineStart(line, kept, sizeof kept) == 2 ? search.result.ponder : Move(MOVE_NONE);
}

void sendBestMove(Move best, Move reply) {
  char move[8] = "0000", ponder[8];
  if (best) MoveToText(best, move);
  if (reply) {
    MoveToText(reply, ponder);
    std::printf("bestmove %s ponder %s\n", move, ponder);
  } else {
    std::printf("bestmove %s\n", move);
  }
  MoveTimeEnded();
  logLine("-M: bestmove %s", move);
}

Move bookMove(const GoRequest& go) {
  if (go.infinite || go.ponder || !uciOptions.ownBook || pos.plyCount >= BOOK_PLIES) return MOVE_NONE;
  return getBookMove();
}

}  // namespace

void InstallUciSearchHooks() { search.hooks = {printInfo, nullptr, pollInput}; }

void GoCommand(LineWords& words) {
  GoRequest go = readGo(words);
  driver.engineSide = pos.sideToMove;
  MoveTimeStarted();
  if (Move m = bookMove(go)) return sendBestMove(m, MOVE_NONE);

  setLimits(go);
  uciSearch = {go.infinite || go.ponder, false};
  search.result = {};
  IterativeDeepening();
  while (uciSearch.waitsForStop && !uciSearch.stopped && !uci.linePending) handleLine(ReadUciLine("-cC: "));
  Move best = chosenMove();
  if (search.result.depth > 0) KeepTableBetweenMoves(search.result.depth);
  sendBestMove(best, expectedReply(best));
}
