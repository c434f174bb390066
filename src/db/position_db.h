// The position statistics database: files of 54-byte records sorted by key, one file per side to
// move, counting white wins, black wins and draws after each position.
#pragma once
#include <cstdint>
#include <cstdio>

#include "board/types.h"

inline constexpr int DB_MESSAGE_SIZE = 512;  // room for a whole offending input line

// One record; on file it is 54 bytes: key (8), board (32), flags, ply byte, and the three counters
// (4 each), all little-endian.
struct DbRecord {
  HashKey key;
  uint8_t board[32];   // packed board: four-bit codes, the first of a byte in its high half
  uint8_t flags;       // bit 7 white to move; bits 6..3 castling K Q k q; bits 0..2 en-passant file
  uint8_t plyByte;     // bit 7 en-passant square given; bits 0..6 smallest ply seen (at most 127)
  uint32_t whiteWins;
  uint32_t blackWins;
  uint32_t draws;

  int ply() const { return plyByte & 0x7F; }
};
inline constexpr int DB_RECORD_BYTES = 54;

void encodeDbRecord(const DbRecord& record, uint8_t* bytes);
DbRecord decodeDbRecord(const uint8_t* bytes);

// Flag bits.
inline constexpr uint8_t DB_WHITE_TO_MOVE = 0x80;
inline constexpr uint8_t DB_CASTLE_K = 0x40, DB_CASTLE_Q = 0x20, DB_CASTLE_k = 0x10, DB_CASTLE_q = 0x08;
inline constexpr uint8_t DB_EP_GIVEN = 0x80;

// Packs the board field of a FEN (up to its end or a space) into record.board; unused codes are 15.
void packBoard(const char* text, DbRecord& record);

// Do two records describe the same position (board, flags and the en-passant bit)?
bool samePosition(const DbRecord& a, const DbRecord& b);

// White's share of the points, w + d/2 over all games (NaN when there are none).
long double dbScore(long double white, long double black, long double draws);

// Reader of one database file.
struct DbFile {
  FILE* file;
  DbRecord buffer;       // the record read last
  HashKey firstKey;
  HashKey lastKey;
  uint64_t cursor;       // record number the file is positioned at
  uint64_t recordCount;  // whole records in the file
};

// The two files of the database, indexed by the side to move.
struct DbPair {
  char message[DB_MESSAGE_SIZE];
  DbFile files[2];  // BLACK "black.db", WHITE "white.db"
};

// Closes both files and sets the message to "OK".
void resetDbPair(DbPair& pair);
void closeDbFile(DbFile& dbFile);

// Opens a database file for reading, creating it empty when missing; primes first and last key.
bool openDbFile(const char* path, DbFile& dbFile, char* message);

// Reads the record `delta` records away from the cursor into the buffer. False (nothing changed)
// when that record is outside the file or the read comes back short.
bool readDbRecord(DbFile& dbFile, int64_t delta);

// Bisection look-up; the record or null. Never reads outside the file, sorted or not.
const DbRecord* findDbRecord(DbFile& dbFile, HashKey key);

// Linear look-up from the start that reports every record out of key order.
const DbRecord* scanDbRecord(DbFile& dbFile, HashKey key);

