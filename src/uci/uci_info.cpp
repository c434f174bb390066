// The info lines and the best move, printed from the search thread.
#include <string>

#include "board/move.h"
#include "board/score.h"
#include "io/log.h"
#include "io/output.h"
#include "search/transtable.h"
#include "uci/uci.h"

namespace uci {

namespace {

// "cp N", or "mate N" in moves, negative when the engine is mated.
std::string scoreText(int score) {
  if (!isFoundMate(score)) return "cp " + std::to_string(score);
  const int moves = mateMoves(score);
  return "mate " + std::to_string(score > 0 ? moves : -moves);
}

}  // namespace

void FrontEnd::printInfo(const IterationReport& r) {
  std::string pv;
  for (int i = 0; i < r.pv.count; ++i) {
    char text[8];
    MoveToText(r.pv.moves[i], text);
    pv += ' ';
    pv += text;
  }
  const char* bound = r.bound == BOUND_LOWER ? " lowerbound" : r.bound == BOUND_UPPER ? " upperbound" : "";
  const long long nps = r.milliseconds > 0 ? (long long)(r.nodes * 1000 / uint64_t(r.milliseconds)) : 0;
  SendLine("info depth %d seldepth %d multipv %d score %s%s nodes %llu nps %lld hashfull %d time %lld%s%s", r.depth,
           r.selectiveDepth, r.line, scoreText(r.score).c_str(), bound, (unsigned long long)r.nodes, nps, r.hashfull,
           (long long)r.milliseconds, pv.empty() ? "" : " pv", pv.c_str());
}

void FrontEnd::sendBestMove(const SearchOutcome& o) {
  char move[8] = "0000", ponder[8];
  if (o.move) MoveToText(o.move, move);
  // A book move comes without a search (and at once, on this thread): its line shows the move with
  // the position's evaluation, so that the front end has a line for it as for any other move.
  if (o.fromBook && o.move) SendLine("info depth 0 score cp %d nodes 0 time 0 pv %s", engine_.evaluate(), move);
  if (o.ponder) {
    MoveToText(o.ponder, ponder);
    SendLine("bestmove %s ponder %s", move, ponder);
  } else {
    SendLine("bestmove %s", move);
  }
  logLine("-M: bestmove %s", move);
}

}  // namespace uci
