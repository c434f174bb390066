// The game being played: its position and the moves since its start position, so that moves can
// be taken back exactly, and how it stands (over, or not).
#pragma once
#include <memory>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "board/types.h"

// Room for the moves of any game; a longer one starts its line anew where the room ran out.
inline constexpr int GAME_LINE_MOVES = 4096;
// Room for a FEN written by PositionToFen.
inline constexpr int GAME_FEN_SIZE = 128;

class Game {
 public:
  Game();

  // A new game from FEN or EPD text; false (nothing changed) for a refused text. An EPD move that
  // cannot be read is reported and left out.
  bool setUp(const char* text);

  // Plays a move; false (nothing changed) when it is not legal here.
  bool play(Move m);

  // Takes the last `count` moves back; false (nothing changed) when the line has fewer.
  bool takeBack(int count);

  // Puts a side on move by hand: the line starts anew from the position as it stands (no move
  // before can be taken back), without an en-passant right when the side changes.
  void setSideToMove(int side);

  const Position& position() const { return *pos_; }
  // For look-ups that make and take back moves; the position is as it was afterwards.
  Position& scratch() { return *pos_; }

  int moveCount() const { return moveCount_; }
  Move move(int i) const { return moves_[i]; }
  // The text the line started from; empty before the first setup.
  const char* startText() const { return startFen_; }
  Move epdBestMove() const { return epdBest_; }
  Move epdAvoidMove() const { return epdAvoid_; }

 private:
  void startLine(const EpdOperation& epd);
  bool resolveEpd(const EpdOperation& epd);

  std::unique_ptr<Position> pos_;
  char startFen_[GAME_FEN_SIZE] = "";
  EpdOperation startEpd_ = {};
  Move epdBest_ = MOVE_NONE;
  Move epdAvoid_ = MOVE_NONE;
  int startPlyCount_ = 1;  // the position's plyCount where the line starts
  int moveCount_ = 0;
  Move moves_[GAME_LINE_MOVES];
};

// How a game stands for the side to move: a marker for a game that is over (MARK_MATED,
// MARK_STALEMATE, MARK_REPETITION, MARK_FIFTY, MARK_MATERIAL), else 0.
Move GameOver(Position& pos);
