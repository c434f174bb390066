// "position" and "ucinewgame": the game the front end sets, played on from the last one where it
// goes on from it.
#include <cstring>

#include "board/fen.h"
#include "board/move.h"
#include "movegen/validate.h"
#include "uci/uci.h"

namespace uci {

namespace {

// Longer FEN texts are refused.
constexpr size_t FEN_TEXT_SIZE = 256;

// The FEN words up to "moves" (taken too), joined by blanks; false when there are none or they
// do not fit.
bool readFen(LineWords& words, std::string& fen) {
  fen.clear();
  for (const char* word; (word = words.next()) && std::strcmp(word, "moves") != 0;) {
    if (!fen.empty()) fen += ' ';
    fen += word;
    if (fen.size() >= FEN_TEXT_SIZE) return false;
  }
  return !fen.empty();
}

bool sameMove(Move m, const char* text) {
  char written[8];
  MoveToText(m, written);
  return std::strcmp(written, text) == 0;
}

}  // namespace

// Plays the move words that follow; those the game already has are kept as they are.
void FrontEnd::playMoves(LineWords& words) {
  int index = 0;
  bool diverged = false;
  for (const char* word; (word = words.next()); ++index) {
    const int played = engine_.game().moveCount();
    if (!diverged && index < played && sameMove(engine_.game().move(index), word)) continue;
    if (!diverged && index < played) engine_.takeBack(played - index);
    diverged = true;
    const Move m = LegalMoveFromText(engine_.position(), word);
    if (!m) return Message(std::string("illegal move ") + word + ": the moves stop before it");
    engine_.playMove(m);
  }
  if (!diverged && index < engine_.game().moveCount()) engine_.takeBack(engine_.game().moveCount() - index);
}

void FrontEnd::positionCommand(LineWords& words) {
  std::string start;
  const char* kind = words.next();
  if (kind && std::strcmp(kind, "startpos") == 0) {
    start = START_FEN;
    const char* next = words.next();
    if (next && std::strcmp(next, "moves") != 0)
      return Message(std::string("position: expected moves, not ") + next + ": position unchanged");
  } else if (kind && std::strcmp(kind, "fen") == 0) {
    if (!readFen(words, start)) return Message("position: no FEN, or one too long: position unchanged");
  } else {
    return Message("position: expected startpos or fen: position unchanged");
  }
  if (start != startText_) {
    if (!engine_.setUp(start.c_str())) return Message("position: refused FEN " + start + ": position unchanged");
    startText_ = start;
  }
  playMoves(words);
}

void FrontEnd::ucinewgameCommand(LineWords&) {
  startText_.clear();
  engine_.newGame();
}

}  // namespace uci
