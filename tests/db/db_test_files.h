// Writing database records for tests.
#pragma once
#include <string>
#include <vector>

#include "db/position_db.h"

inline DbRecord dbRecord(HashKey key, uint32_t w, uint32_t b, uint32_t d, int ply) {
  DbRecord r{};
  r.setKey(key);
  packBoard("8/8/8/8/8/8/8/8", r);
  r.plyByte = uint8_t(ply);
  r.whiteWins = w;
  r.blackWins = b;
  r.draws = d;
  return r;
}

inline std::string dbBytes(const std::vector<DbRecord>& records) {
  return std::string(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(DbRecord));
}
