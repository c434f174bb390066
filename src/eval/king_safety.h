// King shelter, the openness of the files around a king, and the value of an attack on it.
#pragma once
#include "board/position.h"
#include "board/types.h"

// Bonus for the pawns in front of a castled king, positive when good for colour C.
template <Colour C>
int KingShelter(const Position& pos);

// Openness count 0..15 of colour C's king: open and half-open files on and beside it, and one
// more when the enemy has a queen. It weights the enemy's attack on this king.
template <Colour C>
int KingOpenness(const Position& pos);

// What an attack on a king is worth: the attack count (KING_ATTACK_MAX at most counts) weighted
// by the openness of the attacked king.
int KingAttackValue(int openness, int attackCount);
