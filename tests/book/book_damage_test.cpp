// Book sides with a record file cut at every offset, an index cut at sampled offsets, and bytes
// changed in either: loading refuses what it must with the file's name, look-ups never read
// outside the files, keys that the damage does not touch are still found, and no file changes.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "book/book_test_files.h"

namespace {

class BookDamage : public testing::Test {
 protected:
  void SetUp() override {
    // Buckets 0, 1, 5, 9 (three keys), 1000, 70000 and the last one.
    keys = {0x1, 0x2A, HashKey(1) << 47 | 7, HashKey(5) << 47 | 0x123456789, HashKey(9) << 47 | 1,
            HashKey(9) << 47 | 0x7FFF00000001, HashKey(9) << 47 | 0x7FFFFFFFFFFF, HashKey(1000) << 47 | 99,
            HashKey(70000) << 47 | 0x400000000000, ~HashKey(0)};
    writeBookSide(dir, "whole/", WHITE, keys);
    index = dir.read("whole/bookwtm.mbx");
    records = dir.read("whole/bookwtm.mbk");
    ASSERT_EQ(records.size(), keys.size() * BOOK_RECORD_BYTES);
  }
  void TearDown() override { closeBookSide(*side); }

  // Writes the two files into "d/" and loads them.
  bool load(const std::string& mbx, const std::string& mbk) {
    dir.write("d/bookwtm.mbx", mbx);
    dir.write("d/bookwtm.mbk", mbk);
    error[0] = '\0';
    return loadBookSide(*side, dir.path("d/bookwtm").c_str(), error, sizeof error);
  }
  uint32_t entry(uint32_t bucket) const {
    uint32_t value;
    std::memcpy(&value, index.data() + 4 * bucket, 4);
    return value;
  }
  void expectFilesUnchanged(const std::string& mbx, const std::string& mbk) {
    EXPECT_EQ(dir.read("d/bookwtm.mbx"), mbx);
    EXPECT_EQ(dir.read("d/bookwtm.mbk"), mbk);
  }

  ScratchDir dir;
  std::vector<HashKey> keys;
  std::string index, records;
  std::unique_ptr<BookSide> side = std::make_unique<BookSide>();
  char error[512];
};

TEST_F(BookDamage, RecordFileCutAtEveryOffsetFindsTheBucketsWhollyBeforeTheCut) {
  for (size_t cut = 0; cut <= records.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    const std::string mbk = records.substr(0, cut);
    ASSERT_TRUE(load(index, mbk)) << error;
    EXPECT_EQ(side->recordCount, cut / BOOK_RECORD_BYTES);
    for (HashKey key : keys) {
      // A bucket that ends past the whole records is damaged and answers false.
      const bool whole = entry(bookBucket(key)) <= cut / BOOK_RECORD_BYTES;
      EXPECT_EQ(bookContains(*side, key), whole) << std::hex << key;
      EXPECT_LE(side->cursor, side->recordCount);
    }
    expectFilesUnchanged(index, mbk);
  }
}

TEST_F(BookDamage, IndexOfAnyOtherSizeIsRefusedWithItsName) {
  std::set<size_t> sizes = {0, 1, 2, 3, 4, 5, 7, 8, size_t(BOOK_INDEX_BYTES) - 4, size_t(BOOK_INDEX_BYTES) - 1};
  for (size_t cut = 9; cut < size_t(BOOK_INDEX_BYTES); cut += 4099) sizes.insert(cut);
  const std::string expected = "Wrong file format '" + dir.path("d/bookwtm") + ".mbx'.";
  for (size_t size : sizes) {
    SCOPED_TRACE("index of " + std::to_string(size) + " bytes");
    const std::string mbx = index.substr(0, size);
    EXPECT_FALSE(load(mbx, records));
    EXPECT_EQ(std::string(error), expected);
    EXPECT_EQ(side->recordFile, nullptr);
    for (HashKey key : keys) EXPECT_FALSE(bookContains(*side, key));
    expectFilesUnchanged(mbx, records);
  }
  // One byte too many is as wrong as one too few.
  EXPECT_FALSE(load(index + '\0', records));
  EXPECT_EQ(std::string(error), expected);
}

TEST_F(BookDamage, ChangedIndexEntryLosesAtMostItsOwnTwoBuckets) {
  // Entry b bounds buckets b and b + 1; the entries of every bucket in use and their neighbours.
  std::set<uint32_t> entries = {0, BOOK_BUCKETS - 1};
  for (HashKey key : keys) {
    const uint32_t b = bookBucket(key);
    for (uint32_t e : {b - 1, b, b + 1})
      if (e < uint32_t(BOOK_BUCKETS)) entries.insert(e);
  }
  for (uint32_t e : entries) {
    for (int byte = 0; byte < 4; ++byte) {
      for (uint8_t mask : {0x01, 0x80}) {
        SCOPED_TRACE("entry " + std::to_string(e) + " byte " + std::to_string(byte) + " ^ " + std::to_string(mask));
        std::string mbx = index;
        mbx[4 * e + byte] = char(mbx[4 * e + byte] ^ mask);
        ASSERT_TRUE(load(mbx, records)) << error;
        for (HashKey key : keys) {
          const uint32_t b = bookBucket(key);
          const bool found = bookContains(*side, key);
          EXPECT_LE(side->cursor, side->recordCount);
          if (b != e && b != e + 1) {
            EXPECT_TRUE(found) << std::hex << key;
          }
        }
        expectFilesUnchanged(mbx, records);
      }
    }
  }
}

TEST_F(BookDamage, ChangedRecordLosesNothingOutsideItsBucket) {
  for (size_t at = 0; at < records.size(); ++at) {
    for (uint8_t mask : {0x01, 0x40, 0xFF}) {
      SCOPED_TRACE("byte " + std::to_string(at) + " ^ " + std::to_string(mask));
      std::string mbk = records;
      mbk[at] = char(mbk[at] ^ mask);
      ASSERT_TRUE(load(index, mbk)) << error;
      const uint32_t damagedBucket = bookBucket(keys[at / BOOK_RECORD_BYTES]);
      for (HashKey key : keys) {
        const bool found = bookContains(*side, key);
        EXPECT_LE(side->cursor, side->recordCount);
        if (bookBucket(key) != damagedBucket) {
          EXPECT_TRUE(found) << std::hex << key;
        }
      }
      expectFilesUnchanged(index, mbk);
    }
  }
}

}  // namespace
