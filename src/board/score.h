// Score bands. A score is in centipawns from the side to move's point of view and fits 16 bits.
#pragma once

// Above every real score: the initial best of a node, an illegal move, a search being stopped.
inline constexpr int INFINITE_SCORE = 8190;

// The side to move is mated at the root; mated at ply p scores p - MATE_SCORE.
inline constexpr int MATE_SCORE = 8100;
inline constexpr int mateIn(int ply) { return MATE_SCORE - ply; }
inline constexpr int matedIn(int ply) { return ply - MATE_SCORE; }

// Mate within this many plies: a result claim is checked, a stored root window is not trusted.
inline constexpr int MATE_CLAIM_PLIES = 50;

// Beyond +-MATE_RANGE a score is a mate score; the table's mate scores carry no distance
// correction, so they are trusted only where the probe rules allow.
inline constexpr int MATE_RANGE = 4999;
inline constexpr bool isMateScore(int score) { return score < -MATE_RANGE || score > MATE_RANGE; }

// The root takes a table cut-off only within +-ROOT_TRUSTED.
inline constexpr int ROOT_TRUSTED = 3999;

// Bitbase scores: the library's answers within +-BITBASE_EXACT are kept, larger ones are
// compressed tenfold to at most +-BITBASE_LIMIT, below every mate score. Probes are made only
// where the window reaches inside +-BITBASE_WINDOW.
inline constexpr int BITBASE_EXACT = 7000;
inline constexpr int BITBASE_LIMIT = 8001;
inline constexpr int BITBASE_WINDOW = 8010;
