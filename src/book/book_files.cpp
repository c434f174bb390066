#include "book/book_files.h"

#include <sys/stat.h>

#include <bit>
#include <cerrno>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "book files are read as little-endian");


namespace {

bool fileSize(FILE* f, uint64_t* size) {
  struct stat st;
  if (fstat(fileno(f), &st) != 0) return false;
  *size = uint64_t(st.st_size);
  return true;
}

}  // namespace

void closeBookSide(BookSide& side) {
  if (side.recordFile) fclose(side.recordFile);
  side.recordFile = nullptr;
  side.cache = {};
  side.cursor = 0;
  side.recordCount = 0;
}

bool loadBookSide(BookSide& side, const char* basePath, char* errorText, size_t errorSize) {
  // A reload replaces whatever an earlier load left open.
  closeBookSide(side);
  memset(side.index, 0, sizeof side.index);

  char name[BOOK_PATH_MAX + 32];
  snprintf(name, sizeof name, "%s.mbx", basePath);
  FILE* indexFile = fopen(name, "rb");
  if (!indexFile) {
    snprintf(errorText, errorSize, "Cannot load file: '%s': %s", name, strerror(errno));
    return false;
  }
  uint64_t size = 0;
  bool statOk = fileSize(indexFile, &size);
  bool formatOk = statOk && size == uint64_t(BOOK_INDEX_BYTES) &&
                  fread(side.index, 1, BOOK_INDEX_BYTES, indexFile) == size_t(BOOK_INDEX_BYTES);
  fclose(indexFile);
  if (!formatOk) {
    memset(side.index, 0, sizeof side.index);
    snprintf(errorText, errorSize, statOk ? "Wrong file format '%s'." : "Cannot get file statistics: '%s'.", name);
    return false;
  }

  snprintf(name, sizeof name, "%s.mbk", basePath);
  FILE* records = fopen(name, "rb");
  if (!records) {
    snprintf(errorText, errorSize, "Cannot open file: '%s': %s", name, strerror(errno));
    return false;
  }
  if (!fileSize(records, &size)) {
    fclose(records);
    snprintf(errorText, errorSize, "Cannot get file statistics: '%s'.", name);
    return false;
  }
  // Unbuffered: every probe reads the file as it is now, six bytes at a time, never a stale buffer.
  setvbuf(records, nullptr, _IONBF, 0);
  side.recordFile = records;
  side.recordCount = size / BOOK_RECORD_BYTES;

  // Leave the cache on a record near the middle, where most probes begin.
  uint64_t n = side.recordCount;
  if (n > 0) {
    readBookRecord(side, 0);
    readBookRecord(side, int64_t(n - 1) - int64_t(side.cursor));
    if (n >= 2) readBookRecord(side, int64_t(n - n / 2) - int64_t(side.cursor));
  }
  return true;
}

bool loadBook(OpeningBook& book, const char* directory) {
  // An empty folder would be the working folder, which holds no book but whatever the tools left.
  if (directory[0] == '\0') {
    snprintf(book.errorText, sizeof book.errorText, "No book folder given.");
    return false;
  }
  if (strlen(directory) > BOOK_PATH_MAX) {
    snprintf(book.errorText, sizeof book.errorText, "Book path is too long (max 255 characters accepted).");
    return false;
  }
  char base[BOOK_PATH_MAX + 16];
  bool ok = true;
  for (int side = BLACK; side <= WHITE && ok; ++side) {
    snprintf(base, sizeof base, "%s%s", directory, BOOK_SIDE_NAMES[side]);
    ok = loadBookSide(book.sides[side], base, book.errorText, sizeof book.errorText);
  }
  if (!ok && book.path[0] == '\0') snprintf(book.path, sizeof book.path, "%s", directory);
  return ok;
}

bool readBookRecord(BookSide& side, int64_t delta) {
  int64_t target = int64_t(side.cursor) + delta;
  if (!side.recordFile || target < 0 || uint64_t(target) >= side.recordCount) return false;
  unsigned char bytes[BOOK_RECORD_BYTES];
  if (fseeko(side.recordFile, off_t(target) * BOOK_RECORD_BYTES, SEEK_SET) != 0 ||
      fread(bytes, 1, BOOK_RECORD_BYTES, side.recordFile) != size_t(BOOK_RECORD_BYTES))
    return false;
  side.cache.low = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                   uint32_t(bytes[3]) << 24;
  side.cache.mid = (uint32_t(bytes[4]) | uint32_t(bytes[5]) << 8) & 0x7FFF;
  side.cursor = uint64_t(target) + 1;
  return true;
}

bool bookContains(BookSide& side, HashKey key) {
  uint32_t low = bookKeyLow(key), mid = bookKeyMid(key), bucket = bookBucket(key);
  uint64_t first = bucket == 0 ? 0 : side.index[bucket - 1];
  uint64_t end = side.index[bucket];
  // An index that decreases or promises more records than the file holds is damaged.
  if (end == 0 || first >= end || end > side.recordCount) return false;

  // The cached record answers only when it lies in this key's bucket: it does not store the bucket.
  if (side.cursor > first && side.cursor <= end && side.cache.low == low && side.cache.mid == mid)
    return true;

  int64_t lo = int64_t(first), hi = int64_t(end) - 1;
  while (lo <= hi) {
    int64_t middle = lo + (hi - lo) / 2;
    if (!readBookRecord(side, middle - int64_t(side.cursor))) return false;
    const BookRecord& r = side.cache;
    if (r.mid == mid && r.low == low) return true;
    if (r.mid > mid || (r.mid == mid && r.low > low))
      hi = middle - 1;
    else
      lo = middle + 1;
  }
  return false;
}

void loadBookDeferred(OpeningBook& book, int sideToMove) {
  if (book.path[0] == '\0') return;
  char directory[sizeof book.path + 4];
  snprintf(directory, sizeof directory, "%s%s", book.path, sideToMove == WHITE ? "mw/" : "mb/");
  loadBook(book, directory);
  book.path[0] = '\0';
}
