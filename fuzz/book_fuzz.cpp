// The book loader and bookContains on arbitrary ".mbx" and ".mbk" bytes.
//
// Input: a mode byte, a two-byte length L, L bytes for the index, the rest the record file. With
// mode bit 0 the index file is those L bytes as they stand (the loader must refuse every size but
// the right one); otherwise it is a consistent index for the records, spread over the buckets by
// the mode byte, with the L bytes as patches (4-byte entry number, 4-byte value) that damage it.
// Every record's own key and every patched bucket is then looked up.
#include <cstring>
#include <vector>

#include "book/book_files.h"
#include "fuzz_support.h"

namespace {

uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

BookSide side;
uint32_t bookIndex[BOOK_BUCKETS];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& dir = fuzz::setUp();
  if (size < 3) return -1;
  const uint8_t mode = data[0];
  size_t indexBytes = size_t(data[1]) | size_t(data[2]) << 8;
  data += 3;
  size -= 3;
  if (indexBytes > size) indexBytes = size;
  const uint8_t* patches = data;
  const uint8_t* records = data + indexBytes;
  const size_t recordBytes = size - indexBytes;
  const size_t recordCount = recordBytes / BOOK_RECORD_BYTES;

  // Record i goes to bucket i * spread, the last bucket taking any overflow.
  const uint64_t spread = mode >> 1;
  auto bucketOf = [&](size_t i) { return uint32_t(std::min<uint64_t>(i * spread, BOOK_BUCKETS - 1)); };
  std::vector<HashKey> keys;
  if (mode & 1) {
    fuzz::writeFile(dir + "f.mbx", patches, indexBytes);
  } else {
    std::memset(bookIndex, 0, sizeof bookIndex);
    for (size_t i = 0; i < recordCount; ++i) ++bookIndex[bucketOf(i)];
    for (int b = 1; b < BOOK_BUCKETS; ++b) bookIndex[b] += bookIndex[b - 1];
    for (size_t p = 0; p + 8 <= indexBytes; p += 8) {
      const uint32_t entry = le32(patches + p) % BOOK_BUCKETS;
      bookIndex[entry] = le32(patches + p + 4);
      keys.push_back(HashKey(entry) << 47 | le32(patches + p + 4));
    }
    fuzz::writeFile(dir + "f.mbx", reinterpret_cast<const uint8_t*>(bookIndex), sizeof bookIndex);
  }
  fuzz::writeFile(dir + "f.mbk", records, recordBytes);
  for (size_t i = 0; i < recordCount; ++i) {
    const uint8_t* r = records + i * BOOK_RECORD_BYTES;
    const HashKey low = le32(r), mid = (uint32_t(r[4]) | uint32_t(r[5]) << 8) & 0x7FFF;
    keys.push_back(HashKey(bucketOf(i)) << 47 | mid << 32 | low);
  }

  char error[512];
  if (loadBookSide(side, (dir + "f").c_str(), error, sizeof error)) {
    for (HashKey key : keys) bookContains(side, key);
    bookContains(side, 0);
    bookContains(side, ~HashKey(0));
    for (int64_t delta : {-1, 0, 1, 1 << 20}) readBookRecord(side, delta);
  } else if (error[0] == '\0') {
    std::abort();  // a refusal always says why
  }
  closeBookSide(side);
  return 0;
}
