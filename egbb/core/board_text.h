// Boards and moves as text: FEN (no castling, no en passant) and coordinate moves such as e7e8q.
#pragma once
#include <string>

#include "core/chess.h"

namespace egbb {

std::string squareText(int square);
std::string moveText(const Board& board, const Move& move);
std::string fenOf(const Board& board);

}  // namespace egbb
