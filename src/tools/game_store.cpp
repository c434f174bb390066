#include "tools/game_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "tools/game_files.h"

GameStore::~GameStore() {
  if (fd_ >= 0) ::close(fd_);
}

bool GameStore::refuse() {
  ::close(fd_);
  fd_ = -1;
  stored_.clear();
  size_ = 0;
  return false;
}

bool GameStore::open(const char* fileName) {
  fd_ = ::open(fileName, O_RDWR | O_CREAT | O_APPEND, 0644);
  if (fd_ < 0) {
    std::printf("Cannot create GAME output file: '%s'\n", fileName);
    return false;
  }
  std::ifstream in(fileName, std::ios::binary);
  uint8_t bytes[MAX_RECORD_BYTES];
  size_t size;
  RecordStatus status;
  int records = 0;
  while ((status = readRawRecord(in, bytes, size)) == RecordStatus::OK) {
    ++records;
    stored_.emplace(reinterpret_cast<const char*>(bytes), size);
    size_ += (long long)size;
  }
  if (status == RecordStatus::BAD_RESULT || status == RecordStatus::TOO_LONG) {
    std::printf("Game file corrupted! (error on game: %d)\n", records + 1);
    return refuse();
  }
  // Only what was really read is judged: a read that stops before the file's end repairs nothing.
  struct stat file;
  const long long judged = size_ + (status == RecordStatus::CUT_SHORT ? (long long)size : 0);
  if (::fstat(fd_, &file) != 0 || judged != (long long)file.st_size) {
    std::printf("Cannot read GAME file: '%s'\n", fileName);
    return refuse();
  }
  if (status == RecordStatus::CUT_SHORT) {
    if (::ftruncate(fd_, size_) != 0) {
      std::printf("Cannot repair GAME file: '%s'\n", fileName);
      return refuse();
    }
    std::printf("Game file '%s': removed an incomplete last record (%d bytes)\n", fileName, int(size));
  }
  return true;
}

bool GameStore::append(const GameRecord& game) {
  uint8_t bytes[MAX_RECORD_BYTES];
  const size_t size = encodeGameRecord(game, bytes);
  std::string record(reinterpret_cast<const char*>(bytes), size);
  if (stored_.count(record)) return false;
  if (::write(fd_, bytes, size) != ssize_t(size)) {
    // A partial record must not stay behind the stored ones.
    const bool restored = ::ftruncate(fd_, size_) == 0;
    throw PgnError{restored ? "GAME FILE WRITE ERROR" : "GAME FILE WRITE ERROR, last record incomplete"};
  }
  size_ += (long long)size;
  stored_.insert(std::move(record));
  return true;
}
