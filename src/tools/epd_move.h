// The move of an EPD "bm" or "am" operation, read as SAN in the position it came with.
#pragma once
#include "board/fen.h"
#include "board/position.h"

// The operation's move in the position, 0 without an operation. A move that cannot be read prints
// a warning and gives false; without an operation there is nothing to do (true).
bool ResolveEpdMove(Position& pos, const EpdOperation& op, Move& move);
