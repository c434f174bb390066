// Fixed tables of the evaluation's king-attack term.
#pragma once
#include <cstdint>

// Bonus for a piece near the enemy king, by Chebyshev distance 0..7.
enum TropismPiece { TROPISM_KNIGHT, TROPISM_BISHOP, TROPISM_ROOK, TROPISM_QUEEN };
inline constexpr uint8_t TropismTable[4][8] = {
    {4, 5, 5, 2, 1, 0, 0, 0},
    {5, 5, 4, 2, 1, 0, 0, 0},
    {6, 5, 4, 2, 1, 0, 0, 0},
    {9, 9, 8, 4, 2, 1, 0, 0},
};

// Weight of the attack on a king by its openness count 0..15.
inline constexpr int16_t KingShelterScale[16] = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4};

// Value of an attack count 0..63 (the dip at entry 48 belongs to the table).
inline constexpr int KING_ATTACK_MAX = 63;
inline constexpr int16_t KingAttackScale[KING_ATTACK_MAX + 1] = {
    0,   1,   3,   8,   10,  15,  20,  25,  30,  35,  40,  45,  50,  55,  60,  65,
    70,  75,  80,  85,  90,  95,  100, 110, 115, 117, 120, 122, 125, 127, 130, 132,
    135, 137, 140, 142, 145, 147, 150, 152, 155, 157, 160, 162, 165, 167, 170, 172,
    165, 167, 170, 172, 175, 177, 190, 192, 195, 197, 200, 200, 200, 200, 200, 200,
};
