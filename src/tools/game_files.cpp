#include "tools/game_files.h"

#include <cinttypes>
#include <cstdio>
#include <istream>
#include <ostream>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "movegen/attacks.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"

namespace {

uint16_t readWord(const uint8_t* b) { return uint16_t(b[0] | (b[1] << 8)); }
void writeWord(uint8_t* b, uint16_t w) {
  b[0] = uint8_t(w & 0xFF);
  b[1] = uint8_t(w >> 8);
}

// Bytes actually read; the stream's end is not an error here.
size_t readBytes(std::istream& in, uint8_t* bytes, size_t n) {
  in.read(reinterpret_cast<char*>(bytes), std::streamsize(n));
  return size_t(in.gcount());
}

// The made moves of the game whose position lines are being written.
inline constexpr size_t LINE_SIZE = 128;  // key, FEN of at most 87 characters, result and ply
struct PositionLines {
  char lines[POSITION_PLIES][LINE_SIZE];
  HashKey keys[POSITION_PLIES];
};

}  // namespace

RecordStatus readRawRecord(std::istream& in, uint8_t* bytes, size_t& size) {
  size = readBytes(in, bytes, 2);
  if (size == 0) return RecordStatus::END;
  if (size < 2) return RecordStatus::CUT_SHORT;
  const uint16_t header = readWord(bytes);
  if ((header & RESULT_MASK) == 0) return RecordStatus::BAD_RESULT;
  const size_t plies = header & PLY_MASK;
  if (plies > size_t(MAX_GAME_PLIES)) return RecordStatus::TOO_LONG;
  size += readBytes(in, bytes + 2, 2 * plies);
  return size == 2 + 2 * plies ? RecordStatus::OK : RecordStatus::CUT_SHORT;
}

size_t encodeGameRecord(const GameRecord& game, uint8_t* bytes) {
  writeWord(bytes, game.header);
  const int plies = gamePlies(game);
  for (int i = 0; i < plies; ++i) writeWord(bytes + 2 + 2 * i, game.moves[i]);
  return size_t(2 + 2 * plies);
}

bool readGameRecord(std::istream& in, GameRecord& game) {
  uint8_t bytes[MAX_RECORD_BYTES];
  size_t size;
  switch (readRawRecord(in, bytes, size)) {
    case RecordStatus::END:
    case RecordStatus::CUT_SHORT: return false;
    case RecordStatus::BAD_RESULT: throw PgnError{"WRONG RESULT"};
    case RecordStatus::TOO_LONG: throw PgnError{"WRONG PLY COUNT"};
    case RecordStatus::OK: break;
  }
  game.header = readWord(bytes);
  static const char resultChars[4] = {'?', 'B', 'W', 'D'};
  setResult(resultChars[game.header >> 14], game);
  for (int i = 0; i < gamePlies(game); ++i) game.moves[i] = readWord(bytes + 2 + 2 * i);
  return true;
}

int countGames(std::istream& in) {
  const std::ios::iostate state = in.rdstate();
  in.clear();
  const std::streampos start = in.tellg();
  in.seekg(0);
  uint8_t bytes[MAX_RECORD_BYTES];
  size_t size;
  int games = 0;
  RecordStatus status;
  while ((status = readRawRecord(in, bytes, size)) == RecordStatus::OK) ++games;
  in.clear();
  in.seekg(start);
  in.setstate(state);
  return status == RecordStatus::END ? games : -(games + 1);
}

void writePgnGame(std::ostream& out, const GameRecord& game) {
  out << "[Result \"" << game.resultText << "\"]\n";
  char text[8];
  for (int i = 0; i < gamePlies(game); ++i) {
    if (i % 2 == 0) out << i / 2 + 1 << ". ";
    MoveToText(game.moves[i], text);
    out << text << ' ';
  }
  out << game.resultText << '\n';
}

void writePositionLines(Position& pos, const GameRecord& game, std::ostream* const* outputs, int outputCount) {
  const int plies = gamePlies(game) < POSITION_PLIES ? gamePlies(game) : POSITION_PLIES;
  PositionLines w;
  int made = 0;
  bool legal = true;
  // Lines are collected first: a game with a move that is not legal where it stands writes none.
  for (int i = 0; i < plies && legal; ++i) {
    char* line = w.lines[i];
    int n = std::snprintf(line, LINE_SIZE, "%016" PRIX64 "\t", pos.hashKey);
    n = int(PositionToFen(pos, line + n) - line);
    std::snprintf(line + n, LINE_SIZE - size_t(n), "\t%c\t%d\n", game.resultChar, i + 1);
    w.keys[i] = pos.hashKey;

    const Move m = game.moves[i];
    const int mover = pos.sideToMove;
    legal = isPseudoLegal(pos, m);
    if (!legal) break;
    makeMove(pos, m);
    ++made;
    legal = !kingAttackedAfter(pos, m, mover);
  }
  while (made > 0) unmakeMove(pos, game.moves[--made]);
  if (!legal) throw PgnError{"ILLEGAL MOVE IN GAME FILE"};
  for (int i = 0; i < plies; ++i) {
    const int index = outputCount == 16 ? int(w.keys[i] >> 60) : 0;
    *outputs[index] << w.lines[i];
  }
}
