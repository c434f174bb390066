#include "board/fen.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "board/piece_steps.h"
#include "board/position.h"
#include "board/tables.h"
#include "board/zobrist.h"
#include "io/log.h"

namespace {

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }
inline const char* skipBlanks(const char* p) {
  while (isBlank(*p)) ++p;
  return p;
}

// The four FEN fields and the EPD operation, read before anything of the position changes.
struct FenFields {
  Piece board[64] = {};
  int side = WHITE;
  uint16_t castleRights = 0;
  uint8_t epSquare = 0;
  uint16_t reversibleCount = 0;  // the half-move clock
  EpdOperation epd = {};
};

// The half-move clock is taken up to this; a longer stretch is no more drawn than this one.
constexpr unsigned long MAX_HALF_MOVES = 1000;

int pieceCode(char c) {
  const char* at = c ? std::strchr(PieceLetters + 1, c) : nullptr;
  return at ? int(at - PieceLetters) : -1;
}

// Eight ranks of eight squares each, from the 8th, separated by "/".
const char* readPlacement(const char* p, FenFields& f) {
  for (int row = 0; row < 8; ++row) {
    if (row > 0 && *p++ != '/') return nullptr;
    for (int file = 0; file < 8;) {
      const char c = *p++;
      if (c >= '1' && c <= '8') {
        file += c - '0';
        if (file > 8) return nullptr;
        continue;
      }
      const int code = pieceCode(c);
      if (code < 0) return nullptr;
      f.board[8 * row + file++] = Piece(code);
    }
  }
  return *p == '\0' || isBlank(*p) ? p : nullptr;
}

// A whole number word: its value and the text after it; nullptr when there is none.
const char* readCount(const char* p, unsigned long& value) {
  if (*p < '0' || *p > '9') return nullptr;
  char* end;
  value = std::strtoul(p, &end, 10);
  return *end == '\0' || isBlank(*end) || *end == ';' ? end : nullptr;
}

bool readFields(const char* p, FenFields& f) {
  p = readPlacement(skipBlanks(p), f);
  if (!p) return false;
  p = skipBlanks(p);
  if (*p == 'w' || *p == 'W') f.side = WHITE;
  else if (*p == 'b' || *p == 'B') f.side = BLACK;
  else return false;
  p = skipBlanks(p + 1);
  for (int i = 0; i < 4 && *p; ++i) {
    char c = *p++;
    if (c == 'K') f.castleRights |= WHITE_SHORT;
    else if (c == 'Q') f.castleRights |= WHITE_LONG;
    else if (c == 'k') f.castleRights |= BLACK_SHORT;
    else if (c == 'q') f.castleRights |= BLACK_LONG;
    else break;  // the first other character ends the field and is consumed with it
  }
  p = skipBlanks(p);
  if (*p && *p != '-') {
    if (p[0] >= 'a' && p[0] <= 'h' && p[1] >= '1' && p[1] <= '8') f.epSquare = squareFromChars(p[0], p[1]);
    p += p[1] ? 2 : 1;
  } else if (*p == '-') {
    ++p;
  }
  // The half-move clock and the move number, which EPD text leaves out.
  unsigned long halfMoves, moveNumber;
  if (const char* after = readCount(skipBlanks(p), halfMoves)) {
    f.reversibleCount = uint16_t(std::min(halfMoves, MAX_HALF_MOVES));
    p = after;
    if (const char* next = readCount(skipBlanks(p), moveNumber)) p = next;
  }
  // EPD: only the first "a" or "b" after the fields is examined.
  while (*p && *p != 'a' && *p != 'b') ++p;
  if (*p && p[1] == 'm' && p[2] == ' ') {
    char kind = *p;
    p += 3;
    int n = 0;
    char text[10] = {};
    while (n < 9 && *p && *p != ';' && *p != ' ') text[n++] = *p++;
    if (*p == ';' || *p == ' ') {
      f.epd.kind = kind;
      std::memcpy(f.epd.text, text, sizeof text);
    }
  }
  return true;
}

// Is sq attacked by a piece of colour `by` on a plain 64-square board? A set-up text is judged
// before anything of the position is written.
bool boardSquareAttacked(const Piece* board, Square sq, int by) {
  auto holds = [&](Bitboard set, Piece p) {
    for (; set; set &= set - 1)
      if (board[BitScan(set)] == p) return true;
    return false;
  };
  if (holds(pawnAttackersOf(by, sq), pieceOf(by, WPAWN)) || holds(KnightAttacks[sq], pieceOf(by, WKNIGHT)) ||
      holds(KingAttacks[sq], pieceOf(by, WKING)))
    return true;
  static const int steps[8][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
  for (int d = 0; d < 8; ++d) {
    bool straight = d < 4;
    Piece slider = pieceOf(by, straight ? WROOK : WBISHOP), queen = pieceOf(by, WQUEEN);
    int row = rowOf(sq) + steps[d][0], file = fileOf(sq) + steps[d][1];
    for (; row >= 0 && row < 8 && file >= 0 && file < 8; row += steps[d][0], file += steps[d][1]) {
      Piece p = board[8 * row + file];
      if (p == EMPTY) continue;
      if (p == slider || p == queen) return true;
      break;
    }
  }
  return false;
}

// Exactly one king of each colour, the one not to move out of check; castling rights need king and rook at home, and an
// en-passant square needs the double step that explains it.
bool checkAndMend(FenFields& f) {
  int kings[2] = {0, 0};
  Square kingAt[2] = {0, 0};
  for (Square sq = 0; sq < 64; ++sq)
    if (f.board[sq] == WKING || f.board[sq] == BKING) {
      ++kings[colourOf(f.board[sq])];
      kingAt[colourOf(f.board[sq])] = sq;
    }
  if (kings[WHITE] != 1 || kings[BLACK] != 1) return false;
  // No pawn stands on its own first rank or on the last: none can get there.
  for (Square sq : {A8, B8, C8, D8, E8, F8, G8, H8, A1, B1, C1, D1, E1, F1, G1, H1})
    if (isPawn(f.board[sq])) return false;
  // Otherwise the side to move could capture the other king: no game reaches such a position.
  if (boardSquareAttacked(f.board, kingAt[f.side ^ 1], f.side)) return false;

  const Piece* b = f.board;
  if (!(b[E1] == WKING && b[H1] == WROOK)) f.castleRights &= ~WHITE_SHORT;
  if (!(b[E1] == WKING && b[A1] == WROOK)) f.castleRights &= ~WHITE_LONG;
  if (!(b[E8] == BKING && b[H8] == BROOK)) f.castleRights &= ~BLACK_SHORT;
  if (!(b[E8] == BKING && b[A8] == BROOK)) f.castleRights &= ~BLACK_LONG;

  if (Square e = f.epSquare) {
    bool explained = f.side == WHITE
                         ? rowOf(e) == 2 && b[e + 8] == BPAWN && b[e] == EMPTY && b[e - 8] == EMPTY
                         : rowOf(e) == 5 && b[e - 8] == WPAWN && b[e] == EMPTY && b[e + 8] == EMPTY;
    if (!explained) f.epSquare = 0;
  }
  return true;
}

void resetPosition(Position& pos) {
  pos.occ = {};
  for (Bitboard& b : pos.colourPieces) b = 0;
  for (Bitboard& b : pos.pieceBB) b = 0;
  pos.hashKey = 0;
  pos.pawnKey = 0;
  pos.epSquare = 0;
  pos.totalMaterial = 0;
  std::memset(pos.board, EMPTY, sizeof pos.board);
  pos.kingSquare[0] = pos.kingSquare[1] = NO_KING;
  pos.castleRights = 0;
  pos.pieceMaterial[0] = pos.pieceMaterial[1] = 0;
  pos.pawnCount[0] = pos.pawnCount[1] = 0;
  pos.sideToMove = WHITE;
  pos.historyTop = pos.history;
  pos.history[0] = {};
}

}  // namespace

bool SetupPosition(Position& pos, const char* text, EpdOperation* epd) {
  FenFields f;
  if (!readFields(text, f) || !checkAndMend(f)) return false;

  resetPosition(pos);
  for (Square sq = 0; sq < 64; ++sq)
    if (f.board[sq]) addPiece(pos, f.board[sq], sq);
  pos.sideToMove = f.side;
  pos.castleRights = f.castleRights;
  // The en-passant key is part of the key whenever a square is set, as after a double step.
  if ((pos.epSquare = f.epSquare)) ToggleEpSquareKeys(pos, pos.epSquare);

  HistoryEntry& first = pos.history[0];
  first.key = pos.hashKey;
  first.pawnKey = pos.pawnKey;
  first.castleRights = pos.castleRights;
  first.epSquare = pos.epSquare;
  first.occ = pos.occ;
  first.reversibleCount = f.reversibleCount;
  pos.plyCount = 1;
  if (epd) *epd = f.epd;
  return true;
}

char* PositionToFen(const Position& pos, char* buffer) {
  char* out = buffer;
  int empty = 0;
  for (Square sq = 0; sq < 64; ++sq) {
    if (fileOf(sq) == 0 && sq > 0) *out++ = '/';
    Piece p = pos.board[sq];
    if (p == EMPTY) {
      ++empty;
    } else {
      if (empty) *out++ = char('0' + empty);
      empty = 0;
      *out++ = PieceLetters[p];
    }
    if (fileOf(sq) == 7 && empty) {
      *out++ = char('0' + empty);
      empty = 0;
    }
  }
  *out++ = ' ';
  *out++ = pos.sideToMove == WHITE ? 'w' : 'b';
  *out++ = ' ';
  if (!pos.castleRights) *out++ = '-';
  if (pos.castleRights & WHITE_SHORT) *out++ = 'K';
  if (pos.castleRights & WHITE_LONG) *out++ = 'Q';
  if (pos.castleRights & BLACK_SHORT) *out++ = 'k';
  if (pos.castleRights & BLACK_LONG) *out++ = 'q';
  *out++ = ' ';
  if (pos.epSquare) {
    *out++ = char('a' + fileOf(pos.epSquare));
    *out++ = char('8' - rowOf(pos.epSquare));
  } else {
    *out++ = '-';
  }
  *out = '\0';
  return out;
}

namespace {

// The diagram: a line per rank from the 8th, the files' letters below.
std::string boardDiagram(const Piece* board) {
  std::string text;
  for (Square sq = 0; sq < 64; ++sq) {
    if (fileOf(sq) == 0) {
      text += '\n';
      text += char('8' - rowOf(sq));
      text += ' ';
    }
    text += PieceLetters[board[sq]];
    text += ' ';
  }
  return text + "\n\n  A B C D E F G H\n";
}

}  // namespace

void PrintBoard(const Piece* board) { std::fputs(boardDiagram(board).c_str(), stdout); }

void LogBoard(const Piece* board) {
  std::string text = boardDiagram(board);
  text.pop_back();
  logLine("%s", text.c_str());
}
