// Writing database records for tests.
#pragma once
#include <string>
#include <vector>

#include "db/position_db.h"

inline DbRecord dbRecord(HashKey key, uint32_t w, uint32_t b, uint32_t d, int ply) {
  DbRecord r{};
  r.key = key;
  packBoard("8/8/8/8/8/8/8/8", r);
  r.plyByte = uint8_t(ply);
  r.whiteWins = w;
  r.blackWins = b;
  r.draws = d;
  return r;
}

inline std::string dbBytes(const std::vector<DbRecord>& records) {
  std::string out(records.size() * DB_RECORD_BYTES, '\0');
  for (size_t i = 0; i < records.size(); ++i)
    encodeDbRecord(records[i], reinterpret_cast<uint8_t*>(out.data()) + i * DB_RECORD_BYTES);
  return out;
}
