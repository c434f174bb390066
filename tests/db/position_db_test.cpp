#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <vector>

#include "board/fen.h"
#include "board/position.h"
#include "db/db_test_files.h"
#include "db/db_commands.h"
#include "db/db_create.h"
#include "db/position_db.h"
#include "support/scratch_dir.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

std::vector<int> codes(const DbRecord& r) {
  std::vector<int> out;
  for (uint8_t byte : r.board) {
    out.push_back(byte >> 4);
    out.push_back(byte & 15);
  }
  return out;
}

std::vector<DbRecord> readAll(const ScratchDir& dir, const std::string& name) {
  std::string bytes = dir.read(name);
  std::vector<DbRecord> out;
  for (size_t at = 0; at + DB_RECORD_BYTES <= bytes.size(); at += DB_RECORD_BYTES)
    out.push_back(decodeDbRecord(reinterpret_cast<const uint8_t*>(bytes.data()) + at));
  return out;
}

TEST(PackBoard, InitialPositionHasFortyCodesThenFifteens) {
  DbRecord r{};
  packBoard("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", r);
  std::vector<int> expected = {15, 12, 10, 14, 11, 10, 12, 15};
  expected.insert(expected.end(), 8, 13);
  for (int run = 0; run < 4; ++run) expected.insert(expected.end(), {3, 3});
  expected.insert(expected.end(), 8, 7);
  expected.insert(expected.end(), {9, 6, 4, 8, 5, 4, 6, 9});
  ASSERT_EQ(expected.size(), 40u);
  expected.insert(expected.end(), 24, 15);
  EXPECT_EQ(codes(r), expected);
}

TEST(PackBoard, RunsOfEveryLengthAndStopsAtTheSpace) {
  DbRecord r{};
  packBoard("1k2K3/4q4/5 Q", r);
  std::vector<int> expected = {0, 11, 1, 5, 2, 3, 14, 3, 3, 0};
  expected.insert(expected.end(), 64 - expected.size(), 15);
  EXPECT_EQ(codes(r), expected);
}

TEST(PackBoard, NeverWritesMoreThanSixtyFourCodes) {
  DbRecord r{};
  r.flags = 0x5A;
  packBoard("pppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppp", r);
  EXPECT_EQ(codes(r), std::vector<int>(64, 13));
  EXPECT_EQ(r.flags, 0x5A);
}

const char* const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

std::string line(const char* key, const std::string& fen, char result, int ply) {
  return std::string(key) + "\t" + fen + "\t" + result + "\t" + std::to_string(ply) + "\n";
}

TEST(CreateDatabase, MergesEqualPositionsAndSplitsBySide) {
  ScratchDir dir;
  std::string badLine = line("0000000000000030", std::string(START) + " w KQkq -", 'X', 4);
  dir.write("in.pos", line("0000000000000010", std::string(START) + " w KQkq -", 'W', 5) +
                          line("0000000000000010", std::string(START) + " w KQkq -", 'D', 3) +
                          line("0000000000000020", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", 'B', 2) +
                          "short line\n" + badLine +
                          line("0000000000000040", "8/8/8/8/8/8/8/K6k w - -", 'W', 7) +
                          line("0000000000000040", "8/8/8/8/8/8/8/k6K w - -", 'B', 9) +
                          line("F0000000000000F0", "8/8/8/8/8/8/8/8 w Qk -", 'B', 200));
  char message[DB_MESSAGE_SIZE] = "OK";
  CaptureStdout();
  bool ok = createDatabase(dir.path("in.pos").c_str(), dir.path("b.db").c_str(), dir.path("w.db").c_str(), message);
  std::string out = GetCapturedStdout();
  ASSERT_TRUE(ok) << message;
  // The bad line is reported in both passes, numbered among the lines of the wanted side.
  EXPECT_NE(out.find("\nparse error skipped line: 2\n" + badLine + "\n"), std::string::npos) << out;
  EXPECT_NE(out.find("\nparse error skipped line: 3\n" + badLine + "\n"), std::string::npos) << out;
  EXPECT_NE(out.find("creating new database '" + dir.path("w.db") + "':  0%"), std::string::npos);
  const std::string done = "\b\b\b\b100%... done.\n";
  EXPECT_EQ(out.substr(out.size() - done.size()), done);

  std::vector<DbRecord> white = readAll(dir, "w.db");
  ASSERT_EQ(white.size(), 3u);
  const std::string raw = dir.read("w.db").substr(0, DB_RECORD_BYTES);
  EXPECT_EQ(raw.substr(0, 8), std::string("\x10\0\0\0\0\0\0\0", 8));
  EXPECT_EQ(raw.substr(40), std::string("\xF8\x03\x01\0\0\0\0\0\0\0\x01\0\0\0", 14));
  EXPECT_EQ(white[0].key, 0x10u);
  EXPECT_EQ(white[0].whiteWins, 1u);
  EXPECT_EQ(white[0].blackWins, 0u);
  EXPECT_EQ(white[0].draws, 1u);
  EXPECT_EQ(white[0].plyByte, 3);
  EXPECT_EQ(white[0].flags, 0x80 | 0x78);
  DbRecord startBoard{};
  packBoard(START, startBoard);
  EXPECT_EQ(memcmp(white[0].board, startBoard.board, 32), 0);
  // Another position under the same key replaces the earlier one.
  EXPECT_EQ(white[1].key, 0x40u);
  EXPECT_EQ(white[1].whiteWins, 0u);
  EXPECT_EQ(white[1].blackWins, 1u);
  EXPECT_EQ(white[1].plyByte, 9);
  EXPECT_EQ(white[2].key, 0xF0000000000000F0u);
  EXPECT_EQ(white[2].flags, 0x80 | 0x20 | 0x10);
  EXPECT_EQ(white[2].plyByte, 127);

  std::vector<DbRecord> black = readAll(dir, "b.db");
  ASSERT_EQ(black.size(), 1u);
  EXPECT_EQ(black[0].key, 0x20u);
  EXPECT_EQ(black[0].flags, 0x78 | 4);  // e-file en passant
  EXPECT_EQ(black[0].plyByte, 0x80 | 2);
  EXPECT_EQ(black[0].blackWins, 1u);
}

TEST(CreateDatabase, UnsortedInputStopsWithTheOffendingLine) {
  ScratchDir dir;
  std::string late = line("0000000000000010", "8/8/8/8/8/8/8/8 w - -", 'W', 2);
  dir.write("in.pos", line("0000000000000020", "8/8/8/8/8/8/8/8 w - -", 'D', 1) + late +
                          line("0000000000000030", "8/8/8/8/8/8/8/8 w - -", 'D', 1));
  CaptureStdout();
  CreateDatabaseFiles(dir.path("in.pos").c_str(), dir.path("base").c_str());
  std::string out = GetCapturedStdout();
  EXPECT_NE(out.find("ERROR: input file with positions not sorted by hash!\n" + late + "\n\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("created."), std::string::npos);
  EXPECT_EQ(dir.size("base_black.db"), 0u);  // only white-to-move lines
  std::vector<DbRecord> white = readAll(dir, "base_white.db");
  ASSERT_EQ(white.size(), 1u);  // the record made before the error is kept
  EXPECT_EQ(white[0].key, 0x20u);
}

TEST(CreateDatabase, FilesThatCannotBeOpenedAreReported) {
  ScratchDir dir;
  CaptureStdout();
  CreateDatabaseFiles(dir.path("missing.pos").c_str(), dir.path("base").c_str());
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out, "Cannot open file statistics: " + dir.path("missing.pos") + "\n\n");

  dir.write("in.pos", line("0000000000000010", "8/8/8/8/8/8/8/8 w - -", 'W', 2));
  CaptureStdout();
  CreateDatabaseFiles(dir.path("in.pos").c_str(), dir.path("no/such/dir/base").c_str());
  out = GetCapturedStdout();
  EXPECT_EQ(out, "Cannot create database file: " + dir.path("no/such/dir/base_black.db") + "\n\n");

  // A directory has a size but cannot be read as lines.
  CaptureStdout();
  CreateDatabaseFiles(dir.path().c_str(), dir.path("base").c_str());
  out = GetCapturedStdout();
  EXPECT_NE(out.find("Cannot read position file: " + dir.path() + "\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("created."), std::string::npos);

  char message[DB_MESSAGE_SIZE];
  EXPECT_FALSE(createDbFile(dir.path("in.pos").c_str(), dir.path("x.db").c_str(), 'x', message));
  EXPECT_STREQ(message, "WRONG STM parameter: x\n");
}

class DbLookup : public testing::Test {
 protected:
  void open(const std::vector<DbRecord>& records, const std::string& tail = "") {
    dir.write("t.db", dbBytes(records) + tail);
    char message[DB_MESSAGE_SIZE];
    ASSERT_TRUE(openDbFile(dir.path("t.db").c_str(), file, message));
  }
  void TearDown() override { closeDbFile(file); }
  ScratchDir dir;
  DbFile file{};
};

TEST_F(DbLookup, FindsFirstLastAndMiddleAndRefusesOthers) {
  const std::vector<HashKey> keys = {1, 5, 0x7000000000000000, 0x8000000000000000, 0xFFFFFFFFFFFFFFF0};
  std::vector<DbRecord> records;
  for (HashKey k : keys) records.push_back(dbRecord(k, uint32_t(k & 0xFF), 0, 1, 3));
  open(records);
  EXPECT_EQ(file.recordCount, 5u);
  EXPECT_EQ(file.firstKey, 1u);
  EXPECT_EQ(file.lastKey, 0xFFFFFFFFFFFFFFF0u);
  for (HashKey probe : {keys[4], keys[0], keys[2], keys[3], keys[1], keys[4]}) {
    const DbRecord* r = findDbRecord(file, probe);
    ASSERT_NE(r, nullptr) << std::hex << probe;
    EXPECT_EQ(r->key, probe);
    EXPECT_EQ(r->whiteWins, probe & 0xFF);
  }
  const uint64_t cursor = file.cursor;
  EXPECT_EQ(findDbRecord(file, 0), nullptr);
  EXPECT_EQ(findDbRecord(file, 0xFFFFFFFFFFFFFFFF), nullptr);
  EXPECT_EQ(file.cursor, cursor);  // out of the file's key range: answered without reading
  for (HashKey missing : {HashKey(0), HashKey(2), HashKey(0x7FFFFFFFFFFFFFFF), HashKey(0x9000000000000000),
                          HashKey(0xFFFFFFFFFFFFFFFF)})
    EXPECT_EQ(findDbRecord(file, missing), nullptr) << std::hex << missing;
  EXPECT_EQ(scanDbRecord(file, keys[3])->key, keys[3]);
  EXPECT_EQ(scanDbRecord(file, 6), nullptr);
}

TEST_F(DbLookup, BisectionFindsEveryKeyOfALargerFile) {
  std::vector<DbRecord> records;
  for (HashKey i = 0; i < 1000; ++i) records.push_back(dbRecord(i * 0x0123456789ABCDull + 7, 1, 0, 0, 1));
  open(records, "0123456789");  // a partial record at the end is not counted
  EXPECT_EQ(file.recordCount, 1000u);
  for (HashKey i = 0; i < 1000; i += 37) {
    HashKey key = i * 0x0123456789ABCDull + 7;
    ASSERT_NE(findDbRecord(file, key), nullptr) << i;
    EXPECT_EQ(findDbRecord(file, key + 1), nullptr) << i;
  }
}

TEST_F(DbLookup, EmptyFileAnswersNothing) {
  open({});
  EXPECT_EQ(findDbRecord(file, 0), nullptr);
  EXPECT_EQ(scanDbRecord(file, 0), nullptr);
}

TEST_F(DbLookup, UnsortedFileIsReportedAndStaysWithinTheFile) {
  open({dbRecord(0, 1, 0, 0, 1), dbRecord(50, 1, 0, 0, 1), dbRecord(10, 1, 0, 0, 1), dbRecord(40, 1, 0, 0, 1),
        dbRecord(20, 1, 0, 0, 1), dbRecord(30, 1, 0, 0, 1)},
       "xy");
  CaptureStdout();
  EXPECT_EQ(scanDbRecord(file, 99), nullptr);
  EXPECT_EQ(GetCapturedStdout(),
            "Sort ERROR: current: 0, prev: 0\n"
            "Sort ERROR: current: A, prev: 32\n"
            "Sort ERROR: current: 14, prev: 28\n");
  for (HashKey k = 0; k < 60; ++k) {
    const DbRecord* r = findDbRecord(file, k);
    if (r) {
      EXPECT_EQ(r->key, k);
    }
  }
  EXPECT_LE(file.cursor, file.recordCount);
}

// The descriptors open in this process.
int openDescriptors() {
  return int(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
}

TEST(DbShow, PrintsTheRecordOfThePosition) {
  ScratchDir dir;
  InDirectory here(dir.path());
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  const int descriptors = openDescriptors();
  HashKey key = pos.hashKey;
  std::vector<DbRecord> white = {dbRecord(key - 1, 0, 0, 1, 1), dbRecord(key, 1, 0, 1, 1), dbRecord(key + 1, 0, 1, 0, 1)};
  dir.write("white.db", dbBytes(white));
  for (bool linear : {false, true}) {
    CaptureStdout();
    ShowDatabasePosition(pos, linear);
    std::string out = GetCapturedStdout();
    const std::string expected = "w: 1, b: 0, d: 1, score: 0.750000\n";
    ASSERT_GE(out.size(), expected.size());
    EXPECT_EQ(out.substr(out.size() - expected.size()), expected) << out;
  }
  EXPECT_EQ(dir.size("black.db"), 0u);  // created empty

  std::filesystem::remove(dir.path("white.db"));
  CaptureStdout();
  ShowDatabasePosition(pos, false);
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out.substr(out.size() - 18), "record not found.\n");
  EXPECT_EQ(openDescriptors(), descriptors);  // both files closed when the command ends
}

}  // namespace
