#include "driver/uci_position.h"

#include <cstdio>
#include <cstring>

#include "board/fen.h"
#include "board/move.h"
#include "driver/game_position.h"
#include "driver/legal_moves.h"
#include "driver/uci_loop.h"
#include "io/log.h"
#include "search/search_clear.h"

namespace {

// Longer FEN texts are refused.
constexpr size_t FEN_TEXT_SIZE = 256;

struct UciGame {
  char startText[FEN_TEXT_SIZE];  // the position text the game was set up from; empty: none
};
UciGame uciGame;

// The FEN words up to "moves" (taken too), joined by blanks; false when there are none or they
// do not fit.
bool readFen(LineWords& words, char* fen) {
  size_t length = 0;
  fen[0] = '\0';
  for (const char* word; (word = words.next()) && std::strcmp(word, "moves") != 0;) {
    size_t n = std::strlen(word);
    if (length + n + 2 > FEN_TEXT_SIZE) return false;
    if (length) fen[length++] = ' ';
    std::memcpy(fen + length, word, n + 1);
    length += n;
  }
  return length > 0;
}

bool sameMove(Move m, const char* text) {
  char written[8];
  MoveToText(m, written);
  return std::strcmp(written, text) == 0;
}

// Plays the move words that follow; those the game already has are kept as they are.
void playMoves(LineWords& words) {
  int index = 0;
  bool diverged = false;
  for (const char* word; (word = words.next()); ++index) {
    if (!diverged && index < gameLine.moveCount && sameMove(gameLine.moves[index], word)) continue;
    if (!diverged && index < gameLine.moveCount) TakeBackGameMoves(gameLine.moveCount - index);
    diverged = true;
    Move m = LegalMoveFromText(word);
    if (!m) return UciMessage("illegal move %s: the moves stop before it", word);
    PlayGameMove(m);
  }
  if (!diverged && index < gameLine.moveCount) TakeBackGameMoves(gameLine.moveCount - index);
}

}  // namespace

void StartUciGame() {
  SetupGamePosition(START_FEN);
  std::strcpy(uciGame.startText, START_FEN);
}

void PositionCommand(LineWords& words) {
  char start[FEN_TEXT_SIZE];
  const char* kind = words.next();
  if (kind && std::strcmp(kind, "startpos") == 0) {
    std::strcpy(start, START_FEN);
    const char* next = words.next();
    if (next && std::strcmp(next, "moves") != 0)
      return UciMessage("position: expected moves, not %s: position unchanged", next);
  } else if (kind && std::strcmp(kind, "fen") == 0) {
    if (!readFen(words, start)) return UciMessage("position: no FEN, or one too long: position unchanged");
  } else {
    return UciMessage("position: expected startpos or fen: position unchanged");
  }
  if (std::strcmp(start, uciGame.startText) != 0) {
    if (!SetupGamePosition(start)) return UciMessage("position: refused FEN %s: position unchanged", start);
    std::strcpy(uciGame.startText, start);
  }
  playMoves(words);
}

void NewGameCommand(LineWords&) {
  uciGame.startText[0] = '\0';
  SearchClear();
}
