#include "book/book_create.h"

#include <cstring>
#include <memory>

#include "book/book_probe.h"

namespace {

constexpr int BOOK_PLY_MAX = 41;
constexpr int BOOK_NAME_MAX = 20;

bool selected(const DbRecord& r, int side) {
  if (r.ply() > BOOK_PLY_MAX) return false;
  if (uint64_t(r.whiteWins) + r.blackWins + r.draws == 0) return false;
  long double s = dbScore(r.whiteWins, r.blackWins, r.draws);
  // The side that has just moved must have scored better than half.
  return side == BLACK ? s > 0.5L : s < 0.5L;
}

}  // namespace

bool createBookSide(OpeningBook& book, const char* name, DbFile& dbFile, int side, char* message) {
  char fileName[BOOK_NAME_MAX + 8];
  snprintf(fileName, sizeof fileName, "%.*s.mbx", BOOK_NAME_MAX, name);
  FILE* indexFile = fopen(fileName, "wb");
  if (!indexFile) {
    snprintf(message, DB_MESSAGE_SIZE, "Cannot create index file: '%s'\n", fileName);
    return false;
  }
  snprintf(fileName, sizeof fileName, "%.*s.mbk", BOOK_NAME_MAX, name);
  FILE* records = fopen(fileName, "wb");
  if (!records) {
    fclose(indexFile);
    snprintf(message, DB_MESSAGE_SIZE, "Cannot create file: '%s'\n", fileName);
    return false;
  }
  uint32_t* index = book.sides[side].index;
  memset(index, 0, sizeof book.sides[side].index);

  dbFile.cursor = 0;
  long double sumW = 0, sumB = 0, sumD = 0;
  uint32_t c = 1;
  bool recordsWritten = true;
  while (readDbRecord(dbFile, 0)) {
    const DbRecord& r = dbFile.buffer;
    sumW += r.whiteWins;
    sumB += r.blackWins;
    sumD += r.draws;
    if (!selected(r, side)) continue;
    HashKey key = r.key;
    index[bookBucket(key)] = c++;
    uint32_t low = bookKeyLow(key), mid = bookKeyMid(key);
    unsigned char bytes[BOOK_RECORD_BYTES] = {uint8_t(low), uint8_t(low >> 8), uint8_t(low >> 16),
                                              uint8_t(low >> 24), uint8_t(mid), uint8_t(mid >> 8)};
    recordsWritten = fwrite(bytes, 1, sizeof bytes, records) == sizeof bytes && recordsWritten;
  }
  recordsWritten = fclose(records) == 0 && recordsWritten;

  // Entry b must count the records of buckets 0..b, so empty buckets take their predecessor's count.
  for (int b = 1; b < BOOK_BUCKETS; ++b)
    if (index[b] < index[b - 1]) index[b] = index[b - 1];
  bool ok = fwrite(index, 1, BOOK_INDEX_BYTES, indexFile) == size_t(BOOK_INDEX_BYTES);
  if (!ok) snprintf(message, DB_MESSAGE_SIZE, "Writing indexes file error!\n");
  ok = fclose(indexFile) == 0 && ok;
  if (ok && !recordsWritten) {
    // An index counting records that never reached the disk would describe a book that is not there.
    snprintf(message, DB_MESSAGE_SIZE, "Writing book file error: '%s'\n", fileName);
    ok = false;
  }

  printf("%s: %f\n", name, double(dbScore(sumW, sumB, sumD)));
  return ok;
}

void generateBook(DbPair& pair) {
  // Only the index buffers of this scratch book are used; it is not one of the books the engine plays.
  auto book = std::make_unique<OpeningBook>();
  for (int side = BLACK; side <= WHITE; ++side) {
    printf("Generating %s...\n", BOOK_SIDE_NAMES[side]);
    if (!createBookSide(*book, BOOK_SIDE_NAMES[side], pair.files[side], side, pair.message))
      printf("%s", pair.message);
  }
}

void CreateBookFromDatabase() {
  auto db = std::make_unique<DbPair>();
  resetDbPair(*db);
  if (openDbFile("black.db", db->files[BLACK], db->message) && openDbFile("white.db", db->files[WHITE], db->message)) {
    generateBook(*db);
    printf("created.\n");
  } else {
    printf("%s\n", db->message);
  }
  resetDbPair(*db);
}

void ShowBookPosition(BookPair& books, const Position& pos) {
  printf("%s\n", mainBookHasPosition(books, pos) ? "YES" : "NO");
  printf("2: %s\n", secondBookHasPosition(books, pos) ? "YES" : "NO");
}
