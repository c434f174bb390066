// Steps the root and the inner nodes of the alpha-beta search share.
#pragma once
#include "eval/evaluate.h"
#include "movegen/make_move.h"
#include "search/search_state.h"

// Looks the position up; fills hashMove, hashScore, hashDepth and hashBound of the record (a miss
// sets hashMove and hashDepth to 0). Returns whether an entry was found.
inline bool probeTable(SearchState& s, PlyRecord* r) {
  TransEntry e;
  if (!s.table.probe(s.pos.hashKey, s.pos.sideToMove, e)) {
    r->hashMove = 0;
    r->hashDepth = 0;
    return false;
  }
  r->hashMove = entryMove(e);
  r->hashScore = int16_t(entryScore(e));
  r->hashDepth = uint8_t(entryDepth(e));
  r->hashBound = uint8_t(entryBound(e));
  return true;
}

inline void storeTable(SearchState& s, Move move, int score, int depth, int bound) {
  s.table.store(s.pos.hashKey, s.pos.sideToMove, move, score, depth, bound);
}

inline int16_t evaluate(SearchState& s) { return Evaluate(s.pos, s.pawnCache); }

// A move made by the search: counted, and the child's bucket fetched while the caller goes on.
inline void makeSearchMove(SearchState& s, Move m) {
  ++s.movesMade;
  makeMove(s.pos, m);
  s.table.prefetch(s.pos.hashKey, s.pos.sideToMove);
}

// A node's list starts where the nearest ancestor's list ends (an ancestor that has not generated
// yet, such as a node trying its null move, holds no room).
inline MoveEntry* listStart(SearchState& s, const PlyRecord* r) {
  while (r != s.plies) {
    --r;
    if (r->listEnd) return r->listEnd;
  }
  return s.moveStack;
}

// The history keys of the list from the cursor on.
inline uint32_t* orderKeysAt(SearchState& s, const MoveEntry* cursor) { return s.orderKeys + (cursor - s.moveStack); }

// After a table probe whose entry is at least `depth` deep: true when its bound settles the node
// in the window (alpha, beta); otherwise the window is narrowed by it, except during an
// aspiration re-search at the iteration's own depth.
bool tableBoundSettles(const SearchState& s, const PlyRecord* r, int depth, int& alpha, int& beta);

// Takes the score of the move at r's cursor into the node: its ordering score, the best score and
// move, alpha and the bound. True at a cut-off (score >= beta), which the caller completes.
bool takeMoveScore(PlyRecord* r, int score, int& best, int& alpha, int beta, int& bound);

// Searches the child after a move already made from record r, `depth` plies left at r, with the
// extension (or reduction) x: the capture search when no depth remains, else the
// principal-variation scheme (the full window until alpha has been raised, then a null window and
// a re-search inside the window). A reduced move that beats alpha is searched again unreduced.
int searchChild(SearchState& s, PlyRecord* r, int depth, int x, int ply, int alpha, int beta, bool alphaRaised);
