// Piece-square tables chosen by totalMaterial, one selector per piece type. The evaluation owns
// the tables and fills the selectors at start-up (InitPieceSquareTables); the exchange evaluation
// of move ordering reads them too. The selectors have a row for every value totalMaterial can
// hold, so any set-up position indexes them safely.
#pragma once
#include <cstdint>

enum PhaseType { PHASE_KING, PHASE_PAWN, PHASE_KNIGHT, PHASE_BISHOP, PHASE_ROOK, PHASE_QUEEN };
inline constexpr int PHASE_ROWS = 256;
using PieceSquareRow = const int16_t*;
extern PieceSquareRow PhaseSelector[6][PHASE_ROWS];
// For each piece code the selector of its type (white and black share one; EMPTY has none).
extern const PieceSquareRow* PhaseSelectorByPiece[13];
