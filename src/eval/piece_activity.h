// The evaluation's piece terms for one colour: material, square values, mobility, the attack on
// the enemy king, trapped bishops, the bishop pair and rooks on open files and the seventh rank.
#pragma once
#include "board/position.h"
#include "board/types.h"

struct PieceTally {
  int score;       // positive when good for the colour
  int kingAttack;  // attack count against the enemy king
  int minors;      // knights and bishops
  int majors;      // rooks and queens
};

template <Colour C>
PieceTally PieceActivity(const Position& pos);
