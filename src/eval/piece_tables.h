// Piece-square tables of the evaluation, printed from the 8th rank down. A white piece on sq
// reads entry [sq], a black piece entry [63 - sq] with its value subtracted. Since black reads the
// board turned through 180 degrees, every table is symmetric between the a- and the h-side: any
// difference there would score a position and its colour-flipped twin differently.
#pragma once
#include <cstdint>

extern const int16_t KingTableA[64], KingTableB[64], KingTableC[64], KingTableD[64];
extern const int16_t PawnTableA[64], PawnTableB[64], PawnTableC[64], PawnTableD[64];
extern const int16_t KnightTable1[64], KnightTable2[64];
extern const int16_t BishopTable1[64], BishopTable2[64];
extern const int16_t RookTable1[64], RookTable2[64];
extern const int16_t QueenTable1[64], QueenTable2[64];

// Fills the selectors of board/phase_tables.h with these tables; once, at start-up.
void InitPieceSquareTables();
