// Building book sides in a scratch directory for tests, through the book creation itself.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "book/book_create.h"
#include "book/book_files.h"
#include "db/db_test_files.h"
#include "support/scratch_dir.h"

// Writes name.mbx/.mbk for `side` into directory `sub` of the scratch dir, holding exactly `keys`.
inline void writeBookSide(const ScratchDir& dir, const std::string& sub, int side, std::vector<HashKey> keys) {
  std::sort(keys.begin(), keys.end());
  std::vector<DbRecord> records;
  // One game each, won by the side that has just moved into the position.
  for (HashKey k : keys) records.push_back(dbRecord(k, side == BLACK, side == WHITE, 0, 1));
  dir.write(sub + "source.db", dbBytes(records));
  InDirectory here(dir.path(sub));
  DbFile file{};
  char message[DB_MESSAGE_SIZE];
  ASSERT_TRUE(openDbFile("source.db", file, message)) << message;
  auto book = std::make_unique<OpeningBook>();
  testing::internal::CaptureStdout();
  bool ok = createBookSide(*book, BOOK_SIDE_NAMES[side], file, side, message);
  testing::internal::GetCapturedStdout();
  closeDbFile(file);
  ASSERT_TRUE(ok) << message;
}

inline void writeBook(const ScratchDir& dir, const std::string& sub, const std::vector<HashKey>& blackToMove,
                      const std::vector<HashKey>& whiteToMove) {
  writeBookSide(dir, sub, BLACK, blackToMove);
  writeBookSide(dir, sub, WHITE, whiteToMove);
}

// Each test owns its pair of books, empty at the start; their files are closed at the end.
class BookFixture : public testing::Test {
 protected:
  void TearDown() override { closeBooks(); }
  // Empties both books, closing their files.
  void closeBooks() {
    for (OpeningBook* book : {&books->main, &books->second}) {
      for (BookSide& side : book->sides) {
        closeBookSide(side);
        std::memset(side.index, 0, sizeof side.index);
      }
      book->path[0] = book->errorText[0] = '\0';
    }
  }
  ScratchDir dir;
  std::unique_ptr<BookPair> books = std::make_unique<BookPair>();
};
