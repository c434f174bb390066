// Database files cut at every offset and with bytes changed: look-ups answer only from whole
// records inside the file, a record they return is always the one asked for, records that the
// damage does not touch are still found, and reading never changes the files.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

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

class DbDamage : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SetupPosition(pos, START_FEN));
    // Ten keys spread over the whole range, the initial position's among them; counters tell
    // the records apart.
    for (HashKey i = 0; i < 10; ++i) keys.push_back(i * 0x1999999999999999ull + 3);
    keys.push_back(pos.hashKey);
    std::sort(keys.begin(), keys.end());
    std::vector<DbRecord> records;
    for (size_t i = 0; i < keys.size(); ++i) records.push_back(dbRecord(keys[i], uint32_t(i + 1), 2, 3, 5));
    bytes = dbBytes(records);
  }
  void TearDown() override { closeDbFile(file); }

  void open(const std::string& content) {
    dir.write("t.db", content);
    char message[DB_MESSAGE_SIZE];
    ASSERT_TRUE(openDbFile(dir.path("t.db").c_str(), file, message)) << message;
  }
  // Both look-ups of record i: each finds that key or answers null.
  void lookUp(size_t i, bool& byBisection, bool& byScan) {
    const DbRecord* found = findDbRecord(file, keys[i]);
    byBisection = found != nullptr;
    if (found) {
      EXPECT_EQ(found->key, keys[i]);
    }
    EXPECT_LE(file.cursor, file.recordCount);
    found = scanDbRecord(file, keys[i]);
    byScan = found != nullptr;
    if (found) {
      EXPECT_EQ(found->key, keys[i]);
    }
    EXPECT_LE(file.cursor, file.recordCount);
  }

  ScratchDir dir;
  Position pos;
  DbFile file{};
  std::vector<HashKey> keys;
  std::string bytes;
};

TEST_F(DbDamage, FileCutAtEveryOffsetAnswersFromTheWholeRecordsOnly) {
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    const std::string content = bytes.substr(0, cut);
    open(content);
    EXPECT_EQ(file.recordCount, cut / DB_RECORD_BYTES);
    CaptureStdout();
    for (size_t i = 0; i < keys.size(); ++i) {
      const bool whole = (i + 1) * DB_RECORD_BYTES <= cut;
      bool byBisection, byScan;
      lookUp(i, byBisection, byScan);
      EXPECT_EQ(byBisection, whole) << i;
      EXPECT_EQ(byScan, whole) << i;
      if (whole) {
        EXPECT_EQ(findDbRecord(file, keys[i])->whiteWins, i + 1);
      }
    }
    EXPECT_EQ(GetCapturedStdout(), "");  // what is there is still in order
    EXPECT_EQ(dir.read("t.db"), content);
  }
}

TEST_F(DbDamage, ChangedBytesKeepEveryUntouchedRecordWhenTheKeysStayInOrder) {
  for (size_t at = 0; at < bytes.size(); ++at) {
    for (uint8_t mask : {0x01, 0x80, 0xFF}) {
      SCOPED_TRACE("byte " + std::to_string(at) + " ^ " + std::to_string(mask));
      std::string content = bytes;
      content[at] = char(content[at] ^ mask);
      open(content);
      const size_t damaged = at / DB_RECORD_BYTES;
      const bool keyDamaged = at % DB_RECORD_BYTES < 8;
      CaptureStdout();
      for (size_t i = 0; i < keys.size(); ++i) {
        bool byBisection, byScan;
        lookUp(i, byBisection, byScan);
        // A changed counter or board loses nothing. A changed key may mislead the bisection, and
        // the linear look-up from there on, but never the linear look-up before it.
        if (!keyDamaged) {
          EXPECT_TRUE(byBisection) << i;
        }
        if (!keyDamaged || i < damaged) {
          EXPECT_TRUE(byScan) << i;
        }
      }
      const std::string out = GetCapturedStdout();
      // The linear look-up names every key out of order and says nothing else.
      std::istringstream lines(out);
      for (std::string line; std::getline(lines, line);) EXPECT_EQ(line.rfind("Sort ERROR: current: ", 0), 0u) << line;
      if (!keyDamaged) {
        EXPECT_EQ(out, "");
      }
      EXPECT_EQ(dir.read("t.db"), content);
    }
  }
}

TEST_F(DbDamage, ShowCommandOnDamagedFilesAnswersAndWritesNothing) {
  InDirectory here(dir.path());
  const size_t initial = size_t(std::find(keys.begin(), keys.end(), pos.hashKey) - keys.begin());
  for (size_t cut : {size_t(0), size_t(1), initial * DB_RECORD_BYTES + 53, bytes.size() - 1, bytes.size()}) {
    SCOPED_TRACE("white.db cut at " + std::to_string(cut));
    const std::string white = bytes.substr(0, cut), black = bytes.substr(0, cut / 2);
    dir.write("white.db", white);
    dir.write("black.db", black);
    for (bool linear : {false, true}) {
      CaptureStdout();
      ShowDatabasePosition(pos, linear);
      const std::string out = GetCapturedStdout();
      const bool whole = (initial + 1) * DB_RECORD_BYTES <= cut;
      EXPECT_NE(out.find(whole ? "w: " + std::to_string(initial + 1) + ", b: 2, d: 3" : "record not found."),
                std::string::npos)
          << out;
    }
    EXPECT_EQ(dir.read("white.db"), white);
    EXPECT_EQ(dir.read("black.db"), black);
  }
}

}  // namespace
