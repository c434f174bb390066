// openDbFile and the look-ups on arbitrary database bytes: the first eight bytes are a key to
// look for, the rest the file. Every record's own key is looked up as well, both ways.
#include <algorithm>
#include <cstring>

#include "db/position_db.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& dir = fuzz::setUp();
  if (size < 8) return -1;
  HashKey wanted;
  std::memcpy(&wanted, data, 8);
  data += 8;
  size -= 8;
  const std::string path = dir + "f.db";
  fuzz::writeFile(path, data, size);

  DbFile file{};
  char message[DB_MESSAGE_SIZE] = "";
  if (!openDbFile(path.c_str(), file, message)) {
    if (message[0] == '\0') std::abort();  // a refusal always says why
    return 0;
  }
  findDbRecord(file, wanted);
  scanDbRecord(file, wanted);
  // Bounded so that a large input does not make one run quadratic.
  const size_t records = std::min<size_t>(size / DB_RECORD_BYTES, 64);
  for (size_t i = 0; i < records; ++i) {
    const DbRecord record = decodeDbRecord(data + i * DB_RECORD_BYTES);
    const DbRecord* found = findDbRecord(file, record.key);
    if (found && found->key != record.key) std::abort();
  }
  for (int64_t delta : {int64_t(-1), int64_t(0), int64_t(1), int64_t(1) << 20, -(int64_t(1) << 40)}) readDbRecord(file, delta);
  closeDbFile(file);
  return 0;
}
