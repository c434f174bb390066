// Random positions for property tests: legal-looking placements that setup accepts, and the
// colour-flipped twin of a position.
#pragma once
#include <cstdlib>
#include <random>
#include <string>

#include "board/fen.h"
#include "board/position.h"

// FEN text of a 64-square board with the given side to move (no castling, no en passant).
inline std::string BoardToFen(const Piece* board, int side) {
  std::string fen;
  for (int row = 0; row < 8; ++row) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      Piece p = board[8 * row + file];
      if (p == EMPTY) {
        ++empty;
        continue;
      }
      if (empty) fen += char('0' + empty);
      empty = 0;
      fen += PieceLetters[p];
    }
    if (empty) fen += char('0' + empty);
    if (row < 7) fen += '/';
  }
  return fen + (side == WHITE ? " w - -" : " b - -");
}

// The position turned upside down with the colours and the side to move exchanged.
inline std::string FlippedFen(const Position& pos) {
  Piece flipped[64];
  for (Square sq = 0; sq < 64; ++sq) {
    Piece p = pos.board[sq ^ 56];
    flipped[sq] = p == EMPTY ? Piece(EMPTY) : Piece(colourOf(p) == WHITE ? p + 1 : p - 1);
  }
  return BoardToFen(flipped, pos.sideToMove == WHITE ? BLACK : WHITE);
}

// A random position that setup accepts: one king each, not adjacent, the side not to move not in
// check, no pawns on the first or last rank, and a random number of every other piece.
inline std::string RandomFen(std::mt19937& rng, int maxPieces = 4, int maxPawns = 8) {
  Position check;
  for (;;) {
    Piece board[64] = {};
    auto freeSquare = [&](bool pawn) {
      for (;;) {
        Square sq = Square(rng() % 64);
        if (board[sq] != EMPTY || (pawn && (rowOf(sq) == 0 || rowOf(sq) == 7))) continue;
        return sq;
      }
    };
    Square whiteKing = freeSquare(false);
    board[whiteKing] = WKING;
    for (;;) {
      Square sq = freeSquare(false);
      if (std::abs(rowOf(sq) - rowOf(whiteKing)) > 1 || std::abs(fileOf(sq) - fileOf(whiteKing)) > 1) {
        board[sq] = BKING;
        break;
      }
    }
    for (Piece p = WPAWN; p <= BQUEEN; ++p) {
      int count = int(rng() % ((isPawn(p) ? maxPawns : maxPieces) + 1));
      if (p >= WQUEEN) count = int(rng() % 3);
      for (int i = 0; i < count; ++i) board[freeSquare(isPawn(p))] = p;
    }
    std::string fen = BoardToFen(board, int(rng() % 2));
    if (SetupPosition(check, fen.c_str())) return fen;
  }
}
