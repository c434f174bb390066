// The engine's turn: its search, the move and any result claim, then pondering; and analysis.
#include <cstring>

#include "board/move.h"
#include "board/score.h"
#include "engine/game.h"
#include "io/log.h"
#include "io/output.h"
#include "xboard/xboard.h"

namespace xboard {

namespace {

// The claim of a game over before the engine moves: it is mated or the game is drawn.
const char* claimWithoutMove(Move marker, int sideToMove) {
  switch (marker) {
    case MARK_MATED: return sideToMove == BLACK ? "1-0 {Dorvik mated 0}" : "0-1 {Dorvik mated 0}";
    case MARK_STALEMATE: return "1/2-1/2 {Draw by stalemate (1)}";
    case MARK_REPETITION: return "1/2-1/2 {Draw by 3 fold repetition (2)}";
    case MARK_FIFTY: return "1/2-1/2 {Draw by 50 moves rule (3)}";
    case MARK_MATERIAL: return "1/2-1/2 {Draw by insufficient material to mate (4)}";
    default: return nullptr;
  }
}

// The claim the engine's move brings: a mate, or a draw by rule. A stalemate is the front end's to
// see; it is not claimed.
const char* claimAfterMove(Position& pos, int score) {
  const bool whiteMoved = pos.sideToMove == BLACK;
  switch (GameOver(pos)) {
    case MARK_MATED:
      if (score == mateIn(1)) return whiteMoved ? "1-0 {Dorvik mates 1}" : "0-1 {Dorvik mates 1}";
      return whiteMoved ? "1-0 {Dorvik mates 1#}" : "0-1 {Dorvik mates 1#}";
    case MARK_REPETITION: return "1/2-1/2 {Draw by 3 fold repetition (22)}";
    case MARK_FIFTY: return "1/2-1/2 {Draw by 50 moves rule (33)}";
    case MARK_MATERIAL: return "1/2-1/2 {Draw by insufficient material to mate (44)}";
    default: return nullptr;
  }
}

}  // namespace

SearchRequest FrontEnd::clockRequest() const {
  SearchRequest r;
  const int side = engine_.game().position().sideToMove;
  r.time[side] = clock_.ownClock;
  r.time[side ^ 1] = clock_.opponentClock;
  r.increment[WHITE] = r.increment[BLACK] = clock_.increment;
  if (clock_.movesPerControl > 0) {
    // The moves the engine has made in this game, with its side to move.
    const int ownMovesPlayed = (engine_.game().position().plyCount - 1) / 2;
    r.movesToGo = clock_.movesPerControl - ownMovesPlayed % clock_.movesPerControl;
  }
  r.moveTime = clock_.fixedMoveTime;
  r.depth = depthLimit_;
  r.useBook = settings_.ownBook;
  return r;
}

void FrontEnd::think() {
  engineSide_ = engine_.game().position().sideToMove;
  mode_ = Mode::THINKING;
  ponderMove_ = MOVE_NONE;
  closingLine_ = true;
  logLine("entered think");
  engine_.go(clockRequest());
}

void FrontEnd::answerOwedPing() {
  if (!owedPong_[0]) return;
  SendLine("pong %s", owedPong_);
  owedPong_[0] = '\0';
}

void FrontEnd::playOutcome(const SearchOutcome& o, bool commandWaiting) {
  mode_ = Mode::PLAYING;
  if (o.gameOver || !o.move) {
    if (const char* claim = claimWithoutMove(o.gameOver, engine_.game().position().sideToMove)) SendLine("%s", claim);
    answerOwedPing();
    return;
  }
  char text[8];
  MoveToText(o.move, text);
  engine_.playMove(o.move);
  SendLine("move %s", text);
  logLine(o.fromBook ? "move (book) %s" : "move %s:\tscore: %d", text, o.score);
  const char* claim = claimAfterMove(engine_.position(), o.score);
  if (claim) SendLine("%s", claim);
  answerOwedPing();
  // No pondering after a book move or once the game is over, nor when a command waits: it would
  // stop the pondering at once.
  if (claim || o.fromBook || !ponderEnabled_ || commandWaiting) {
    logLine("- NO ponder move");
    return;
  }
  if (!o.ponder) {
    logLine("-************** NO ponder move");
    return;
  }
  ponder(o.ponder);
}

void FrontEnd::ponder(Move reply) {
  char text[8];
  MoveToText(reply, text);
  logLine("-ponder move: %s", text);
  ponderMove_ = reply;
  mode_ = Mode::PONDERING;
  SearchRequest r;
  r.ponder = true;
  r.ponderMove = reply;
  r.depth = depthLimit_;
  engine_.go(r);
}

void FrontEnd::startAnalysis() {
  analysisDue_ = false;
  closingLine_ = false;  // analysis plays no move: a closing line would be taken for the next position's
  logLine("-M: analysis");
  SearchRequest r;
  r.infinite = true;
  engine_.go(r);
}

}  // namespace xboard
