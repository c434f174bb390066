// Score and ply bands. A score is in centipawns from the side to move's point of view and fits 16
// bits; the bands all follow from the deepest ply a line may reach.
#pragma once

// The deepest ply of any line, the capture search included: past it a line is evaluated.
inline constexpr int MAX_PLY = 132;
// Ply records of a search: the deepest line, its root, and room for the look-ahead of the last
// node (its children's records are written before it stops).
inline constexpr int PLY_STACK_SIZE = MAX_PLY + 4;
// Past this ply a line goes on with captures only, so that the capture search has room below it.
inline constexpr int FULL_WIDTH_PLIES = MAX_PLY - 7;
// The deepest iteration a search may reach: as deep as the full-width plies allow, with one
// extension to spare.
inline constexpr int MAX_SEARCH_DEPTH = FULL_WIDTH_PLIES + 2;
// Iterations start at this depth unless a shallower limit is asked for.
inline constexpr int MIN_SEARCH_DEPTH = 2;

// Above every real score: the initial best of a node, an illegal move, a search being stopped.
// The table stores score + INFINITE_SCORE in 14 bits.
inline constexpr int INFINITE_SCORE = 8190;

// The side to move is mated at the root; mated at ply p scores p - MATE_SCORE.
inline constexpr int MATE_SCORE = 8100;
inline constexpr int mateIn(int ply) { return MATE_SCORE - ply; }
inline constexpr int matedIn(int ply) { return ply - MATE_SCORE; }
// Every mate the search can find scores beyond this.
inline constexpr int MATE_IN_MAX_PLY = mateIn(MAX_PLY);
inline constexpr bool isFoundMate(int score) { return score > MATE_IN_MAX_PLY || score < -MATE_IN_MAX_PLY; }
// The moves to the mate of a found mate score: for the side to move when it mates, for the
// opponent when it is mated (0 when it is mated already).
inline constexpr int mateMoves(int score) { return score > 0 ? (MATE_SCORE - score + 1) / 2 : (MATE_SCORE + score) / 2; }

// Mate within this many plies: a result claim is checked, a stored root window is not trusted.
inline constexpr int MATE_CLAIM_PLIES = 50;

// Beyond +-MATE_RANGE a score is a mate or bitbase score; the table's mate scores carry no
// distance correction, so they are trusted only where the probe rules allow.
inline constexpr int MATE_RANGE = 4999;
inline constexpr bool isMateScore(int score) { return score < -MATE_RANGE || score > MATE_RANGE; }

// The root takes a table cut-off only within +-ROOT_TRUSTED.
inline constexpr int ROOT_TRUSTED = 3999;

// Bitbase scores lie below every mate the search finds: a win in m moves scores BITBASE_WIN - m,
// a loss m - BITBASE_WIN, so that a quicker win and a longer defence score higher. Probes are made
// only where the window reaches a bitbase score.
inline constexpr int BITBASE_WIN = MATE_IN_MAX_PLY - 1;
inline constexpr int BITBASE_WINDOW = BITBASE_WIN + 1;
// No score: beyond every score there is.
inline constexpr int NO_TABLE_SCORE = INFINITE_SCORE + 1;
