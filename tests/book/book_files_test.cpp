#include <gtest/gtest.h>
#include <unistd.h>

#include <random>

#include "board/fen.h"
#include "board/position.h"
#include "book/book_probe.h"
#include "book/book_test_files.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

using BookCreate = BookFixture;
using BookLoad = BookFixture;
using BookProbe = BookFixture;

TEST_F(BookCreate, SelectsEarlyPositionsWonByTheSideThatMoved) {
  InDirectory here(dir.path());
  // Black to move: white must have scored above one half.
  dir.write("black.db", dbBytes({dbRecord(0x0000100000000001, 1, 0, 0, 41),
                                 dbRecord(0x0000200000000002, 1, 0, 0, 42),
                                 dbRecord(0x0000300000000003, 5, 5, 0, 10),
                                 dbRecord(0x0000400000000004, 3, 2, 0, 0x80 | 41),
                                 dbRecord(0x0000500000000005, 0, 0, 0, 1)}));
  // White to move: black must have scored above one half.
  dir.write("white.db", dbBytes({dbRecord(0x0000100000000001, 0, 1, 0, 41),
                                 dbRecord(0x0000200000000002, 0, 1, 0, 42),
                                 dbRecord(0x0000300000000003, 2, 2, 1, 3),
                                 dbRecord(0x0000400000000004, 1, 0, 0, 3),
                                 dbRecord(0x8000000000000009, 1, 2, 1, 7)}));
  CaptureStdout();
  CreateBookFromDatabase();
  EXPECT_EQ(GetCapturedStdout(),
            "Generating bookbtm...\nbookbtm: 0.588235\n"   // 10 white wins, 7 black wins, ply 42 included
            "Generating bookwtm...\nbookwtm: 0.416667\n"   // 4 white wins, 6 black wins, 2 draws
            "created.\n");
  EXPECT_EQ(dir.size("bookbtm.mbx"), 524288u);
  EXPECT_EQ(dir.size("bookbtm.mbk"), 12u);
  EXPECT_EQ(dir.size("bookwtm.mbk"), 12u);
  // Records hold key bits 0-31 and 32-46; the index counts the records up to each bucket.
  EXPECT_EQ(dir.read("bookbtm.mbk"), std::string("\x01\0\0\0\0\x10\x04\0\0\0\0\x40", 12));
  auto entry = [&](const std::string& index, int bucket) {
    uint32_t v;
    memcpy(&v, index.data() + 4 * bucket, 4);
    return v;
  };
  std::string btmIndex = dir.read("bookbtm.mbx"), wtmIndex = dir.read("bookwtm.mbx");
  EXPECT_EQ(entry(btmIndex, 0), 2u);
  EXPECT_EQ(entry(btmIndex, BOOK_BUCKETS - 1), 2u);
  EXPECT_EQ(entry(wtmIndex, 0xFFFF), 1u);  // 0x8000000000000009 is in bucket 0x10000
  EXPECT_EQ(entry(wtmIndex, 0x10000), 2u);
  EXPECT_EQ(dir.read("bookwtm.mbk").substr(6), std::string("\x09\0\0\0\0\0", 6));

  ASSERT_TRUE(loadBook(books->main, dir.path().c_str())) << books->main.errorText;
  BookSide& btm = books->main.sides[BLACK];
  EXPECT_TRUE(bookContains(btm, 0x0000100000000001));
  EXPECT_FALSE(bookContains(btm, 0x0000200000000002));
  EXPECT_FALSE(bookContains(btm, 0x0000300000000003));
  EXPECT_TRUE(bookContains(btm, 0x0000400000000004));
  EXPECT_FALSE(bookContains(btm, 0x0000500000000005));
  BookSide& wtm = books->main.sides[WHITE];
  EXPECT_TRUE(bookContains(wtm, 0x0000100000000001));
  EXPECT_FALSE(bookContains(wtm, 0x0000200000000002));
  EXPECT_FALSE(bookContains(wtm, 0x0000300000000003));  // exactly one half
  EXPECT_FALSE(bookContains(wtm, 0x0000400000000004));
  EXPECT_TRUE(bookContains(wtm, 0x8000000000000009));
}

TEST_F(BookCreate, MissingDatabaseGivesAnEmptySide) {
  InDirectory here(dir.path());
  dir.write("black.db", dbBytes({dbRecord(0x42, 1, 0, 0, 1)}));
  CaptureStdout();
  CreateBookFromDatabase();
  std::string out = GetCapturedStdout();
  EXPECT_NE(out.find("Generating bookwtm...\nbookwtm: "), std::string::npos);
  EXPECT_NE(out.find("nan\ncreated.\n"), std::string::npos) << out;  // 0 / 0 over no records
  EXPECT_EQ(dir.size("white.db"), 0u);
  EXPECT_EQ(dir.size("bookwtm.mbk"), 0u);
  EXPECT_EQ(dir.read("bookwtm.mbx"), std::string(524288, '\0'));

  ASSERT_TRUE(loadBook(books->main, dir.path().c_str()));
  EXPECT_EQ(books->main.sides[WHITE].recordCount, 0u);
  EXPECT_EQ(books->main.path[0], '\0');  // an empty side is no failure: nothing to retry
  EXPECT_TRUE(bookContains(books->main.sides[BLACK], 0x42));
}

TEST_F(BookCreate, UnwritableBookFilesAreReportedAndTheOtherSideGoesOn) {
  InDirectory here(dir.path());
  std::filesystem::create_directory(dir.path("bookbtm.mbx"));  // cannot be opened for writing
  CaptureStdout();
  CreateBookFromDatabase();
  EXPECT_EQ(GetCapturedStdout().substr(0, 65),
            "Generating bookbtm...\nCannot create index file: 'bookbtm.mbx'\nGen");
  EXPECT_EQ(dir.size("bookwtm.mbx"), 524288u);
}

TEST_F(BookProbe, FindsEveryKeyAcrossBucketsAndNothingElse) {
  std::mt19937_64 random(7);
  std::vector<HashKey> keys = {0x12345, 0, 0xFFFFFFFFFFFFFFFF, 0x00007FFFFFFFFFFF};  // bucket 0 and the last
  for (int i = 0; i < 3000; ++i) keys.push_back(random() >> (i % 3 == 0 ? 20 : 0));  // crowded low buckets too
  writeBook(dir, "", keys, {});
  writeBookSide(dir, "", WHITE, {});
  ASSERT_TRUE(loadBook(books->main, dir.path().c_str()));
  BookSide& side = books->main.sides[BLACK];
  EXPECT_EQ(side.recordCount, keys.size());
  for (HashKey k : keys) {
    ASSERT_TRUE(bookContains(side, k)) << std::hex << k;
    EXPECT_TRUE(bookContains(side, k)) << "repeated probe " << std::hex << k;
    // Same low 47 bits in another bucket: the cache must not answer for it.
    HashKey otherBucket = k ^ (HashKey(1) << 60);
    EXPECT_EQ(bookContains(side, otherBucket), std::count(keys.begin(), keys.end(), otherBucket) > 0);
  }
  int falseHits = 0;
  for (int i = 0; i < 2000; ++i) {
    HashKey k = random();
    falseHits += bookContains(side, k) != (std::count(keys.begin(), keys.end(), k) > 0);
  }
  EXPECT_EQ(falseHits, 0);
  EXPECT_FALSE(bookContains(books->main.sides[WHITE], 0x12345));
}

TEST_F(BookLoad, ReportsEachFailureWithItsFile) {
  const std::string d = dir.path();
  EXPECT_FALSE(loadBook(books->main, d.c_str()));
  EXPECT_EQ(std::string(books->main.errorText), "Cannot load file: '" + d + "bookbtm.mbx': No such file or directory");
  EXPECT_EQ(std::string(books->main.path), d);  // kept for the deferred retry

  writeBook(dir, "", {1, 2}, {3});
  for (int delta : {-1, 1}) {
    std::string index = dir.read("bookwtm.mbx");
    dir.write("bad/bookbtm.mbx", dir.read("bookbtm.mbx"));
    dir.write("bad/bookbtm.mbk", dir.read("bookbtm.mbk"));
    dir.write("bad/bookwtm.mbx", delta < 0 ? index.substr(1) : index + "x");
    dir.write("bad/bookwtm.mbk", dir.read("bookwtm.mbk"));
    EXPECT_FALSE(loadBook(books->second, dir.path("bad/").c_str()));
    EXPECT_EQ(std::string(books->second.errorText), "Wrong file format '" + d + "bad/bookwtm.mbx'.");
    EXPECT_TRUE(bookContains(books->second.sides[BLACK], 2));  // the side loaded before stays usable
    EXPECT_EQ(books->second.sides[WHITE].recordCount, 0u);
    EXPECT_FALSE(bookContains(books->second.sides[WHITE], 3));
  }
  std::filesystem::remove(dir.path("bad/bookwtm.mbk"));
  dir.write("bad/bookwtm.mbx", dir.read("bookwtm.mbx"));
  EXPECT_FALSE(loadBook(books->second, dir.path("bad/").c_str()));
  EXPECT_EQ(std::string(books->second.errorText), "Cannot open file: '" + d + "bad/bookwtm.mbk': No such file or directory");

  ASSERT_TRUE(loadBook(books->main, d.c_str()));
  EXPECT_TRUE(bookContains(books->main.sides[WHITE], 3));
}

TEST_F(BookLoad, PathOf255CharactersIsAcceptedAnd256Refused) {
  std::string sub;
  while (dir.path(sub).size() < 255 - 60) sub += std::string(50, 'd') + "/";
  sub += std::string(255 - dir.path(sub).size() - 1, 'e') + "/";
  ASSERT_EQ(dir.path(sub).size(), 255u);
  writeBook(dir, sub, {5}, {6});
  EXPECT_TRUE(loadBook(books->main, dir.path(sub).c_str())) << books->main.errorText;
  EXPECT_TRUE(bookContains(books->main.sides[WHITE], 6));

  std::string tooLong = dir.path(sub) + "x";
  EXPECT_FALSE(loadBook(books->second, tooLong.c_str()));
  EXPECT_STREQ(books->second.errorText, "Book path is too long (max 255 characters accepted).");
}

TEST_F(BookLoad, PartialTrailingRecordIsNotCounted) {
  writeBook(dir, "", {10, 20, 30}, {});
  dir.write("bookbtm.mbk", dir.read("bookbtm.mbk") + "abc");
  ASSERT_TRUE(loadBook(books->main, dir.path().c_str()));
  EXPECT_EQ(books->main.sides[BLACK].recordCount, 3u);
  for (HashKey k : {10, 20, 30}) EXPECT_TRUE(bookContains(books->main.sides[BLACK], k));
}

TEST_F(BookProbe, RecordFileCutShortAfterLoadingAnswersFalse) {
  std::vector<HashKey> keys;
  for (HashKey k = 1; k <= 40; ++k) keys.push_back(k << 20);
  writeBook(dir, "", keys, {});
  ASSERT_TRUE(loadBook(books->main, dir.path().c_str()));
  ASSERT_TRUE(bookContains(books->main.sides[BLACK], 1 << 20));  // the cache now holds record 0
  ASSERT_EQ(truncate(dir.path("bookbtm.mbk").c_str(), 6 * 10 + 2), 0);
  BookSide& side = books->main.sides[BLACK];
  for (HashKey k = 12; k <= 40; ++k) EXPECT_FALSE(bookContains(side, k << 20)) << k;
  EXPECT_LE(side.cursor, side.recordCount);

  // Cut short before loading: the index promises records the file does not hold.
  closeBooks();
  ASSERT_TRUE(loadBook(books->main, dir.path().c_str()));
  EXPECT_EQ(side.recordCount, 10u);
  for (HashKey k = 1; k <= 40; ++k) EXPECT_FALSE(bookContains(side, k << 20)) << k;
}

TEST_F(BookProbe, CorruptIndexAnswersFalseWithoutReading) {
  // Two records, both in bucket 0; the index then claims more than the file holds, or decreases.
  writeBook(dir, "", {1, 2}, {});
  std::vector<uint32_t> index(BOOK_BUCKETS, 2);
  index[0] = 5;
  index[1] = 1;
  index[2] = 2;
  dir.write("bookbtm.mbx", std::string(reinterpret_cast<const char*>(index.data()), BOOK_INDEX_BYTES));
  ASSERT_TRUE(loadBook(books->main, dir.path().c_str()));
  BookSide& side = books->main.sides[BLACK];
  uint64_t cursor = side.cursor;
  EXPECT_FALSE(bookContains(side, 1));                        // bucket 0: 5 records promised, 2 there
  EXPECT_FALSE(bookContains(side, HashKey(1) << 47 | 1));      // bucket 1 ends before it starts
  EXPECT_EQ(side.cursor, cursor);
  EXPECT_TRUE(bookContains(side, HashKey(2) << 47 | 2));       // the index puts record 1 in bucket 2
  EXPECT_FALSE(bookContains(side, HashKey(3) << 47 | 2));      // empty bucket
}

TEST_F(BookLoad, BothBooksAndTheShowCommand) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  const HashKey start = pos.hashKey;  // white to move
  writeBook(dir, "", {start}, {start});
  writeBook(dir, "2/", {}, {start + 1});
  ASSERT_TRUE(LoadBooks(*books, dir.path().c_str())) << books->main.errorText;
  CaptureStdout();
  ShowBookPosition(*books, pos);
  EXPECT_EQ(GetCapturedStdout(), "YES\n2: NO\n");

  writeBook(dir, "2/", {}, {start});
  ASSERT_TRUE(LoadBooks(*books, dir.path().c_str()));
  EXPECT_TRUE(secondBookHasPosition(*books, pos));
  EXPECT_TRUE(mainBookHasPosition(*books, pos));

  // A missing second book is silent; a missing main book is reported.
  closeBooks();
  std::filesystem::remove_all(dir.path("2"));
  EXPECT_TRUE(LoadBooks(*books, dir.path().c_str()));
  EXPECT_FALSE(secondBookHasPosition(*books, pos));
  EXPECT_FALSE(LoadBooks(*books, dir.path("none/").c_str()));
  EXPECT_EQ(std::string(books->main.errorText),
            "Cannot load file: '" + dir.path("none/") + "bookbtm.mbx': No such file or directory");
  // No folder at all has its reason too (it used to leave the error text empty), and loads no
  // book from the working folder.
  EXPECT_FALSE(LoadBooks(*books, ""));
  EXPECT_EQ(std::string(books->main.errorText), "No book folder given.");
}

TEST_F(BookLoad, DeferredRetryReadsTheColourSubdirectoryOnce) {
  writeBook(dir, "mb/", {77}, {78});
  writeBook(dir, "mw/", {87}, {88});
  EXPECT_FALSE(loadBook(books->main, dir.path().c_str()));
  loadBookDeferred(books->main, BLACK);
  EXPECT_EQ(books->main.path[0], '\0');
  EXPECT_TRUE(bookContains(books->main.sides[WHITE], 78));

  // The retry happens once: later calls leave the book as it is.
  loadBookDeferred(books->main, WHITE);
  EXPECT_TRUE(bookContains(books->main.sides[WHITE], 78));
  EXPECT_FALSE(bookContains(books->main.sides[WHITE], 88));

  EXPECT_FALSE(loadBook(books->second, dir.path().c_str()));
  loadBookDeferred(books->second, WHITE);
  EXPECT_TRUE(bookContains(books->second.sides[BLACK], 87));
}

}  // namespace
