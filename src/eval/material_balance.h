// Corrections for unbalanced material, from White's point of view.
#pragma once
#include "board/position.h"

// minors and majors: White's knights and bishops minus Black's, White's rooks and queens minus
// Black's. Applies only while at least one side has five or more units of pieces.
int MaterialImbalance(const Position& pos, int minors, int majors);
