// The bitbase library's table loader and probes on arbitrary table files.
//
// Input: a control byte, then the file. Control bits 0-2 name the file (KQK, KRK, KBK, KNK, KPK
// by their value modulo 5), bits 3-4 the load mode (0 to 3), and bit 5 asks for the file's
// checksums to be made right first, so that damage reaches the block decoder instead of being
// caught by a checksum. The library then loads the folder with a small cache and probes positions
// from every block of the table.
#include <cstring>
#include <vector>

#include "core/crc32.h"
#include "core/index.h"
#include "core/table_file.h"
#include "fuzz_support.h"

extern "C" void load_egbb_5men(char* directory, int cacheBytes, int loadMode);
extern "C" int probe_egbb_5men(int side, int whiteKing, int blackKing, int piece1, int square1, int piece2, int square2,
                               int piece3, int square3);

namespace {

using namespace egbb;

uint64_t le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint64_t(b[at + i]) << (8 * i);
  return v;
}

void putLe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// Rewrites the block checksums and the header checksum as far as the bytes hold them.
void reseal(std::vector<uint8_t>& file) {
  if (file.size() < table_layout::OFFSETS) return;
  uint64_t blocks = 2 * le(file, table_layout::BLOCKS, 4);
  if (blocks > file.size()) return;
  size_t crcs = table_layout::OFFSETS + 8 * (blocks + 1), headerEnd = crcs + 4 * blocks + 4;
  if (headerEnd > file.size()) return;
  for (uint64_t i = 0; i < blocks; ++i) {
    uint64_t from = le(file, table_layout::OFFSETS + 8 * i, 8), to = le(file, table_layout::OFFSETS + 8 * i + 8, 8);
    if (from <= to && to <= file.size() - headerEnd)
      putLe32(file, crcs + 4 * i, crc32(file.data() + headerEnd + from, to - from));
  }
  putLe32(file, headerEnd - 4, crc32(file.data(), headerEnd - 4));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* NAMES[] = {"KQK", "KRK", "KBK", "KNK", "KPK"};
  const std::string& dir = fuzz::setUp();
  if (size < 1) return -1;
  const uint8_t control = data[0];
  std::vector<uint8_t> file(data + 1, data + size);
  if (control & 0x20) reseal(file);
  const char* name = NAMES[(control & 7) % 5];
  std::string path = dir + name + TABLE_SUFFIX;
  fuzz::writeFile(path, file.data(), file.size());
  load_egbb_5men(const_cast<char*>(dir.c_str()), 64 << 10, (control >> 3) & 3);

  Ending ending;
  Ending::parse(name, ending);
  Indexer indexer(ending);
  for (uint64_t number = 0; number < indexer.size(); number += 1021)
    for (int side = 0; side < 2; ++side) {
      Board b;
      if (!indexer.decode(number, side, b)) continue;
      int a[9] = {side, b.men[0].square, b.men[1].square, 2 + b.men[2].type + 6 * b.men[2].colour, b.men[2].square, 0, 0, 0, 0};
      int score = probe_egbb_5men(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
      if (score != 99999 && (score > 17000 || score < -17000)) __builtin_trap();
    }
  std::remove(path.c_str());
  return 0;
}
