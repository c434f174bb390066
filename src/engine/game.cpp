#include "engine/game.h"

#include <cstring>

#include "board/move.h"
#include "movegen/attacks.h"
#include "movegen/validate.h"
#include "search/draws.h"
#include "tools/epd_move.h"

Game::Game() : pos_(std::make_unique<Position>()) { setUp(START_FEN); }

void Game::startLine(const EpdOperation& epd) {
  PositionToFen(*pos_, startFen_);
  startPlyCount_ = pos_->plyCount;
  startEpd_ = epd;
  moveCount_ = 0;
}

bool Game::resolveEpd(const EpdOperation& epd) {
  Move m;
  const bool resolved = ResolveEpdMove(*pos_, epd, m);
  epdBest_ = epd.kind == 'b' ? m : Move(MOVE_NONE);
  epdAvoid_ = epd.kind == 'a' ? m : Move(MOVE_NONE);
  return resolved;
}

bool Game::setUp(const char* text) {
  EpdOperation epd;
  if (!SetupPosition(*pos_, text, &epd)) return false;
  // An EPD move that cannot be read has been reported; the position stands without it.
  const bool resolved = resolveEpd(epd);
  startLine(resolved ? epd : EpdOperation{});
  return true;
}

bool Game::play(Move m) {
  if (!MakeRealMove(*pos_, m)) return false;
  // The move is on the board already: a full line starts anew from here.
  if (moveCount_ == GAME_LINE_MOVES) startLine(EpdOperation{});
  else moves_[moveCount_++] = m;
  return true;
}

bool Game::takeBack(int count) {
  if (!startFen_[0] || count < 0 || count > moveCount_) return false;
  // Replayed from the line's start, the position, its history and its counters are exact.
  SetupPosition(*pos_, startFen_);  // it was set up from this text before
  pos_->plyCount = uint16_t(startPlyCount_);
  resolveEpd(startEpd_);
  moveCount_ -= count;
  for (int i = 0; i < moveCount_; ++i) MakeRealMove(*pos_, moves_[i]);
  return true;
}

void Game::setSideToMove(int side) {
  Position& pos = *pos_;
  if (side == pos.sideToMove) return startLine(EpdOperation{});
  // A double step's en-passant right belongs to the side that answers it: left in place, the other
  // side's pawns would "capture" onto it. The position is set up anew with the other side on move.
  char fen[GAME_FEN_SIZE];
  char* end = PositionToFen(pos, fen);
  char* sideField = std::strchr(fen, ' ') + 1;
  *sideField = side == WHITE ? 'w' : 'b';
  if (end[-1] != '-') std::strcpy(end - 2, "-");
  const uint16_t plies = pos.plyCount;
  if (SetupPosition(pos, fen)) pos.plyCount = plies;  // refused when the side put on move could take a king
  startLine(EpdOperation{});
}

Move GameOver(Position& pos) {
  if (!firstLegalMove(pos)) {
    CheckInfo info;
    computeCheckInfo(pos, &info);
    return info.checkers ? MARK_MATED : MARK_STALEMATE;
  }
  return DrawTest(pos, 2);
}
