// Steps the root and the inner nodes of the alpha-beta search share.
#pragma once
#include "movegen/ply.h"

// After a table probe whose entry is at least `depth` deep: true when its bound settles the node
// in the window (alpha, beta); otherwise the window is narrowed by it, except during an
// aspiration re-search at the iteration's own depth.
bool tableBoundSettles(const PlyRecord* r, int depth, int& alpha, int& beta);

// Takes the score of the move at r's cursor into the node: its ordering score, the best score and
// move, alpha and the bound. True at a cut-off (score >= beta), which the caller completes.
bool takeMoveScore(PlyRecord* r, int score, int& best, int& alpha, int beta, int& bound);

// Searches the child after a move already made from record r, `depth` plies left at r, with the
// extension (or reduction) x: the capture search when no depth remains, else the
// principal-variation scheme (the full window until alpha has been raised, then a null window and
// a re-search inside the window). A reduced move that beats alpha is searched again unreduced.
int searchChild(PlyRecord* r, int depth, int x, int ply, int alpha, int beta, bool alphaRaised);
