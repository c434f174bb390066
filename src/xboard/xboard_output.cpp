// Thinking output, printed from the search thread.
#include <string>

#include "board/move.h"
#include "board/score.h"
#include "io/output.h"
#include "search/transtable.h"
#include "xboard/xboard.h"

namespace xboard {

namespace {

// Mates are shown as 100000 + N for a mate in N moves, -100000 - N when mated in N.
constexpr int MATE_SHOWN = 100000;

int shownScore(int score) {
  if (!isFoundMate(score)) return score;
  return score > 0 ? MATE_SHOWN + mateMoves(score) : -MATE_SHOWN - mateMoves(score);
}

}  // namespace

void FrontEnd::printThinking(const IterationReport& r) {
  if (!post_) return;
  if (r.kind == ReportKind::CLOSING && !closingLine_) return;
  std::string pv;
  for (int i = 0; i < r.pv.count; ++i) {
    char text[8];
    MoveToText(r.pv.moves[i], text);
    if (i) pv += ' ';
    pv += text;
  }
  // A fail high is a lower bound, a fail low an upper one.
  if (r.bound == BOUND_LOWER) pv += '!';
  if (r.bound == BOUND_UPPER) pv += '?';
  SendLine("    %d     %d     %lld     %llu  %s", r.depth, shownScore(r.score), (long long)(r.milliseconds / 10),
           (unsigned long long)r.nodes, pv.c_str());
}

}  // namespace xboard
