// Move ordering: the hash move and killers first, then captures by score, then quiet moves by
// from-to history; plus the cut-off counters that the late-move reductions read.
#pragma once
#include <cstdint>

#include "board/score.h"
#include "board/types.h"
#include "board/position.h"
#include "search/ply.h"

struct HistoryTables {
  int32_t fromTo[2][4096];  // HistoryFromTo[side][move & 0xFFF]
  uint64_t good[12][64];    // HistoryGood[piece - 1][to]: cut-offs caused
  uint64_t tried[12][64];   // HistoryTried[piece - 1][to]: searched at a node that had a cut-off
};

// From-to history to 0, both counters to 1: for every new game position and every game move.
void ResetHistoryTables(HistoryTables& history);

// Pre-pass of an alpha-beta node: moves not yet searched (scored below matedIn(1)) get 30000
// (hash move), -9998 (killer1) or -9999 (killer2). The root applies the same values whatever the current score.
void liftHashAndKillers(MoveEntry* begin, MoveEntry* end, const PlyRecord* ply, bool wholeList);

// Pre-pass of a quiescence node: hash move 30000, killers +1500 and +1000.
void liftQuiescenceMoves(MoveEntry* begin, MoveEntry* end, const PlyRecord* ply);

// Lazy selection: swaps the next move to the cursor. Highest score first; once the selected
// score is below -10000, the rest is ordered by history keys (byHistory then stays set), kept in
// keys, which run parallel to the list from the cursor on.
void selectNextMove(const HistoryTables& history, MoveEntry* cursor, MoveEntry* end, uint32_t* keys, bool& byHistory,
                    int side);

// Highest score first, without the switch to history (quiescence).
void selectByScore(MoveEntry* cursor, MoveEntry* end);

// A new cut-off move becomes killer1 unless it already is.
void updateKillers(PlyRecord* ply, Move m);

// Cut-off bookkeeping: killers for quiet and castling moves, from-to history by depth squared,
// the success counters, and (when countEarlier) the tried counter of the moves searched before.
void recordCutoff(HistoryTables& history, const Position& pos, PlyRecord* ply, MoveEntry* begin, MoveEntry* cutoff,
                  int depth, bool countEarlier);

// A move of this piece to this square rarely caused cut-offs (below 60 percent, or never tried).
bool lowHistorySuccess(const HistoryTables& history, Piece p, Square to);
