#include "tools/pgn_reader.h"

#include <cstdio>
#include <cstring>
#include <istream>

#include "board/fen.h"
#include "board/position.h"
#include "io/log.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"
#include "tools/san.h"

namespace {

// A game being read: its moves stay made on the position until the game ends.
struct PgnReading {
  Position& pos;
  GameRecord& game;
  int made = 0;

  void takeBackMoves() {
    while (made > 0) unmakeMove(pos, game.moves[--made]);
  }
};

// Raising leaves the position as the caller set it up.
[[noreturn]] void raise(PgnReading& r, const char* message) {
  r.takeBackMoves();
  throw PgnError{message};
}

void reportMove(const GameRecord& game, int plyNo) {
  std::printf("move: %s, plyNo:%d\n", game.token, plyNo);
}

// Skips a comment or variation whose opening character has been read, nested ones included.
void skipNested(std::istream& in, char open, char close) {
  int depth = 1;
  for (int c; depth > 0 && (c = in.get()) != EOF;) {
    if (c == open) ++depth;
    else if (c == close) --depth;
  }
}

// After a rejected move the rest of its game is skipped up to the next tag line, so that the next
// game is read from its tags.
void skipToNextGame(std::istream& in) {
  int depth = 0;
  bool lineStart = false;
  for (int c; (c = in.peek()) != EOF;) {
    if (c == '[' && lineStart && depth == 0) return;
    in.get();
    if (c == '{') ++depth;
    else if (c == '}' && depth > 0) --depth;
    if (c == '\n') lineStart = true;
    else if (c != ' ' && c != '\t' && c != '\r') lineStart = false;
  }
}

bool isMoveEnd(int c) { return c == '\t' || c == '\n' || c == '\r' || c == ' ' || c == '{'; }

void readToken(std::istream& in, GameRecord& game) {
  int n = 0;
  for (int c; n < 10 && (c = in.get()) != EOF; game.token[n++] = char(c)) {
    if (isMoveEnd(c)) {
      in.unget();
      break;
    }
  }
  game.token[n] = '\0';
}

// The parsed move must be generated in this position and must not leave the mover's king attacked.
void playMove(PgnReading& r, Move m, int plyNo) {
  Position& pos = r.pos;
  CheckInfo info;
  computeCheckInfo(pos, &info);
  const int side = pos.sideToMove;
  MoveEntry generated[MAX_GENERATED_MOVES];
  MoveEntry* end = generateMoves(pos, generated, &info);
  bool found = false;
  for (const MoveEntry* e = generated; e < end && !found; ++e) found = e->move == m;
  if (!found) {
    PrintBoard(pos.board);
    reportMove(r.game, plyNo);
    logLine("%sMOVE NOT LEGAL 1", r.game.token);
    raise(r, "MOVE NOT LEGAL 1");
  }
  makeMove(pos, m);
  r.game.moves[r.made++] = m;
  if (kingAttackedAfter(pos, m, side)) {
    PrintBoard(pos.board);
    reportMove(r.game, plyNo);
    raise(r, "MOVE NOT LEGAL 2 - check revealed");
  }
}

// The tags have left one of the four results in resultChar.
uint16_t resultCode(char resultChar) {
  return resultChar == 'W' ? RESULT_WHITE_WINS
         : resultChar == 'B' ? RESULT_BLACK_WINS
         : resultChar == 'D' ? RESULT_DRAW
                             : RESULT_NONE;
}

}  // namespace

void setResult(char resultChar, GameRecord& game) {
  const char* text = resultChar == 'W' ? "1-0" : resultChar == 'B' ? "0-1" : resultChar == 'D' ? "1/2-1/2" : "";
  std::strcpy(game.resultText, text);
  game.resultChar = *text ? resultChar : '?';
}

bool readPgnTags(std::istream& in, GameRecord& game) {
  game.resultText[0] = '\0';
  game.resultChar = '?';
  char line[511];
  in >> std::ws;
  int c = in.get();
  while (c == '[') {
    in >> std::ws;
    in.getline(line, sizeof line);  // a longer line fails the stream
    if (in.fail()) return false;
    if (!std::strncmp(line, "Result", 6)) {
      const char* p = line + 6;
      while (*p == ' ') ++p;
      if (*p) ++p;  // the opening quotation mark
      if (!std::strncmp(p, "1-0", 3)) setResult('W', game);
      else if (!std::strncmp(p, "0-1", 3)) setResult('B', game);
      else if (!std::strncmp(p, "1/2-1/2", 7)) setResult('D', game);
      else if (*p == '*') {
        std::strcpy(game.resultText, "*");
        game.resultChar = '*';
      } else {
        throw PgnError{"Result Error 1"};
      }
    }
    in >> std::ws;
    c = in.get();
  }
  if (c != EOF) in.unget();
  if (in.fail() || in.eof()) return false;
  if (game.resultChar == '?') throw PgnError{"Result Error 2"};
  return true;
}

Move readMoveToken(std::istream& in, Position& pos, GameRecord& game) {
  readToken(in, game);
  return parseSanMove(pos, game.token);
}

uint16_t readPgnGame(std::istream& in, Position& pos, GameRecord& game) {
  game.header = 0;
  PgnReading reading{pos, game};
  if (!readPgnTags(in, game)) return 0;
  // Every stored move stays made until the game ends: the game history must have room for them.
  const long room = long(pos.history + HISTORY_SIZE - 1 - pos.historyTop);
  const int storable = room < MAX_GAME_PLIES ? int(room) : MAX_GAME_PLIES;

  for (;;) {
    in >> std::ws;
    const int c = in.get();
    if (c == EOF) break;
    if (c == '(') {
      skipNested(in, '(', ')');
    } else if (c == '{') {
      skipNested(in, '{', '}');
    } else if (c == '*') {
      if (game.resultChar != '*') raise(reading, "Result * error");
      break;  // consumed, so that the next game starts at its tags
    } else if (c >= '0' && c <= '9') {
      const char* result = game.resultText;
      if (c == result[0] && in.peek() == result[1]) {
        for (const char* r = result + 1; *r; ++r)
          if (in.get() != *r) raise(reading, "wrong end result 1");
        break;
      }
    } else if (c == '.' || c == '$') {
      continue;  // move numbers and NAGs go character by character
    } else {
      in.unget();
      const int plyNo = reading.made + 1;
      if (plyNo > storable) {
        // Beyond the stored plies the position no longer follows the game: read past the text.
        readToken(in, game);
        continue;
      }
      const Move m = readMoveToken(in, pos, game);
      if (!m) {
        logLine("%sERROR", game.token);
        reportMove(game, plyNo);
        reading.takeBackMoves();
        skipToNextGame(in);
        return 0;
      }
      playMove(reading, m, plyNo);
    }
  }

  if (reading.made == 0) {
    in >> std::ws;
    return 0;
  }
  game.header = uint16_t(resultCode(game.resultChar) | reading.made);
  reading.takeBackMoves();
  return game.header & RESULT_MASK;
}
