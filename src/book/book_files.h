// The files of an opening book side, loading them, and the key look-up.
//
// One side is a record file ("*.mbk": 6-byte records sorted by key, each holding the key's bits 0-46)
// and an index file ("*.mbx": 131072 little-endian 32-bit entries; entry b counts the records of
// buckets 0..b, the bucket being the key's top 17 bits).
#pragma once
#include <cstdint>
#include <cstdio>

#include "board/types.h"

inline constexpr int BOOK_BUCKETS = 131072;
inline constexpr long BOOK_INDEX_BYTES = BOOK_BUCKETS * 4L;
inline constexpr int BOOK_RECORD_BYTES = 6;
inline constexpr int BOOK_PATH_MAX = 255;

// One record as held in memory: key bits 0-31 and bits 32-46.
struct BookRecord {
  uint32_t low;
  uint32_t mid;
};

inline uint32_t bookKeyLow(HashKey key) { return uint32_t(key); }
inline uint32_t bookKeyMid(HashKey key) { return uint32_t(key >> 32) & 0x7FFF; }
inline uint32_t bookBucket(HashKey key) { return uint32_t(key >> 47); }

struct BookSide {
  uint32_t index[BOOK_BUCKETS];
  FILE* recordFile;      // open for the life of the process once loaded; null when not loaded
  BookRecord cache;      // the record read last
  uint64_t cursor;       // one past the record read last; 0 when nothing was read
  uint64_t recordCount;  // whole records in the record file; 0 means the side is empty
};

struct OpeningBook {
  char path[300];        // directory of a failed start-up load, kept for one deferred retry
  char errorText[512];   // message of the last failed load
  BookSide sides[2];     // indexed by the side to move: BLACK "bookbtm", WHITE "bookwtm"
};

// The two books the engine plays with; candidates of the second win over the main book's.
struct BookPair {
  OpeningBook main;
  OpeningBook second;
};

inline constexpr const char* BOOK_SIDE_NAMES[2] = {"bookbtm", "bookwtm"};

// Loads both sides from a directory ending in "/". On failure sets the error text and keeps the
// directory for one deferred retry.
bool loadBook(OpeningBook& book, const char* directory);

// Loads one side from basePath + ".mbx" and basePath + ".mbk"; formats failures into errorText.
bool loadBookSide(BookSide& side, const char* basePath, char* errorText, size_t errorSize);

// Closes the side's record file and empties it.
void closeBookSide(BookSide& side);

// Reads the record `delta` records away from the cursor into the cache. False (cache and cursor
// unchanged) when that record lies outside the file or the read comes back short.
bool readBookRecord(BookSide& side, int64_t delta);

// Is the key in this side? A damaged file or index answers false and is never read out of range.
bool bookContains(BookSide& side, HashKey key);

// The single retry of a failed start-up load, from the colour subdirectory "mw/" or "mb/" of the
// side to move.
void loadBookDeferred(OpeningBook& book, int sideToMove);
