#include "board/phase_tables.h"

PieceSquareRow PhaseSelector[6][PHASE_ROWS];
const PieceSquareRow* PhaseSelectorByPiece[13];
