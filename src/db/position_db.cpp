#include "db/position_db.h"

#include <sys/stat.h>

#include <cinttypes>
#include <cstring>


namespace {

// Four-bit code of a piece letter, 0 for anything else.
uint8_t pieceCode(char c) {
  switch (c) {
    case 'B': return 4;  case 'K': return 5;  case 'N': return 6;  case 'P': return 7;
    case 'Q': return 8;  case 'R': return 9;  case 'b': return 10; case 'k': return 11;
    case 'n': return 12; case 'p': return 13; case 'q': return 14; case 'r': return 15;
    default: return 0;
  }
}

void put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

uint32_t get32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

void encodeDbRecord(const DbRecord& r, uint8_t* bytes) {
  put32(bytes, uint32_t(r.key));
  put32(bytes + 4, uint32_t(r.key >> 32));
  memcpy(bytes + 8, r.board, sizeof r.board);
  bytes[40] = r.flags;
  bytes[41] = r.plyByte;
  put32(bytes + 42, r.whiteWins);
  put32(bytes + 46, r.blackWins);
  put32(bytes + 50, r.draws);
}

DbRecord decodeDbRecord(const uint8_t* bytes) {
  DbRecord r;
  r.key = HashKey(get32(bytes + 4)) << 32 | get32(bytes);
  memcpy(r.board, bytes + 8, sizeof r.board);
  r.flags = bytes[40];
  r.plyByte = bytes[41];
  r.whiteWins = get32(bytes + 42);
  r.blackWins = get32(bytes + 46);
  r.draws = get32(bytes + 50);
  return r;
}

void packBoard(const char* text, DbRecord& record) {
  memset(record.board, 0xFF, sizeof record.board);
  int count = 0;
  auto put = [&](uint8_t code) {
    if (count >= 64) return;
    uint8_t& byte = record.board[count / 2];
    byte = count % 2 == 0 ? uint8_t((code << 4) | (byte & 0x0F)) : uint8_t((byte & 0xF0) | code);
    ++count;
  };
  for (const char* p = text; *p && *p != ' ' && count < 64; ++p) {
    if (*p >= '1' && *p <= '8') {
      int run = *p - '0';
      if (run > 4) {
        put(3);
        run -= 4;
      }
      put(uint8_t(run - 1));
    } else if (uint8_t code = pieceCode(*p)) {
      put(code);
    }
  }
}

bool samePosition(const DbRecord& a, const DbRecord& b) {
  return memcmp(a.board, b.board, sizeof a.board) == 0 && a.flags == b.flags &&
         (a.plyByte & DB_EP_GIVEN) == (b.plyByte & DB_EP_GIVEN);
}

long double dbScore(long double white, long double black, long double draws) {
  return (white + draws / 2) / (white + black + draws);
}

void closeDbFile(DbFile& dbFile) {
  if (dbFile.file) fclose(dbFile.file);
  dbFile = {};
}

void resetDbPair(DbPair& pair) {
  for (DbFile& f : pair.files) closeDbFile(f);
  snprintf(pair.message, sizeof pair.message, "OK");
}

bool openDbFile(const char* path, DbFile& dbFile, char* message) {
  closeDbFile(dbFile);
  struct stat st;
  if (stat(path, &st) != 0) {
    if (FILE* created = fopen(path, "ab")) fclose(created);
  }
  FILE* f = fopen(path, "rb");
  if (!f || fstat(fileno(f), &st) != 0) {
    if (f) fclose(f);
    snprintf(message, DB_MESSAGE_SIZE, "Cannot open file: %s\n", path);
    return false;
  }
  dbFile.file = f;
  dbFile.recordCount = uint64_t(st.st_size) / DB_RECORD_BYTES;
  uint64_t n = dbFile.recordCount;
  if (n > 0) {
    if (readDbRecord(dbFile, 0)) dbFile.firstKey = dbFile.buffer.key;
    if (readDbRecord(dbFile, int64_t(n - 1) - int64_t(dbFile.cursor))) dbFile.lastKey = dbFile.buffer.key;
    if (n >= 2) readDbRecord(dbFile, int64_t(n - n / 2) - int64_t(dbFile.cursor));
  }
  return true;
}

bool readDbRecord(DbFile& dbFile, int64_t delta) {
  int64_t target = int64_t(dbFile.cursor) + delta;
  if (!dbFile.file || target < 0 || uint64_t(target) >= dbFile.recordCount) return false;
  uint8_t bytes[DB_RECORD_BYTES];
  if (fseeko(dbFile.file, off_t(target) * DB_RECORD_BYTES, SEEK_SET) != 0 ||
      fread(bytes, 1, DB_RECORD_BYTES, dbFile.file) != size_t(DB_RECORD_BYTES))
    return false;
  dbFile.buffer = decodeDbRecord(bytes);
  dbFile.cursor = uint64_t(target) + 1;
  return true;
}

const DbRecord* findDbRecord(DbFile& dbFile, HashKey key) {
  if (dbFile.recordCount == 0 || dbFile.cursor == 0) return nullptr;
  if (key > dbFile.lastKey || key < dbFile.firstKey) return nullptr;
  if (dbFile.buffer.key == key) return &dbFile.buffer;

  // The buffered record is cursor - 1: search the part of the file on the key's side of it.
  int64_t buffered = int64_t(dbFile.cursor) - 1;
  int64_t lo = 0, hi = int64_t(dbFile.recordCount) - 1;
  if (key < dbFile.buffer.key) hi = buffered - 1;
  else lo = buffered + 1;
  while (lo <= hi) {
    int64_t middle = lo + (hi - lo) / 2;
    if (!readDbRecord(dbFile, middle - int64_t(dbFile.cursor))) return nullptr;
    HashKey found = dbFile.buffer.key;
    if (found == key) return &dbFile.buffer;
    if (found > key) hi = middle - 1;
    else lo = middle + 1;
  }
  return nullptr;
}

const DbRecord* scanDbRecord(DbFile& dbFile, HashKey key) {
  dbFile.cursor = 0;
  HashKey previous = 0;
  while (readDbRecord(dbFile, 0)) {
    HashKey current = dbFile.buffer.key;
    if (current <= previous)
      printf("Sort ERROR: current: %" PRIX64 ", prev: %" PRIX64 "\n", current, previous);
    if (current == key) return &dbFile.buffer;
    if (current > key) return nullptr;
    previous = current;
  }
  return nullptr;
}
