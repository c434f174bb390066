// The table file "<ENDING>.dtm" (for example "KQKR.dtm"): every position's value (value.h) for
// both sides to move, in blocks of BLOCK_VALUES coded as in block_code.h. Numbers are little-endian.
//
//   "DORVIKTB", u32 version, the ending's name in 8 bytes, u32 BLOCK_VALUES,
//   u64 positions per side to move, u32 blocks per side to move,
//   the code lengths of the symbols, SYMBOLS bytes for White to move, then for Black to move,
//   u64 offsets of the blocks (White's, then Black's, then the end) from the start of the data,
//   u32 CRC-32 of each coded block, u32 CRC-32 of everything before it; then the coded blocks.
//
// Positions that are no legal position are stored as the value before them, which codes best.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/block_code.h"
#include "core/ending.h"

namespace egbb {

inline constexpr const char* TABLE_SUFFIX = ".dtm";

// Where the fields of the layout above begin.
namespace table_layout {
inline constexpr size_t VERSION = 8, ENDING = 12, BLOCK_VALUES = 20, POSITIONS = 24, BLOCKS = 32, CODE_LENGTHS = 36;
inline constexpr size_t OFFSETS = CODE_LENGTHS + 2 * SYMBOLS;  // the fixed part ends here
}  // namespace table_layout

class TableFile {
 public:
  // Reads and checks the header of the open file `fd`, which must hold `ending`; on failure the
  // error says what is wrong with it.
  bool open(int fd, const Ending& ending, std::string& error);

  uint64_t positions() const { return positions_; }
  uint32_t blocks() const { return blocks_; }  // per side to move
  uint64_t dataStart() const { return dataStart_; }
  uint64_t fileSize() const { return dataStart_ + offsets_.back(); }

  // Where the coded block `id` (side * blocks() + block) lies in the data, and its size.
  uint64_t blockOffset(uint32_t id) const { return offsets_[id]; }
  uint64_t blockSize(uint32_t id) const { return offsets_[id + 1] - offsets_[id]; }
  int blockValues(uint32_t id) const;

  // Reads coded block `id` (blockSize(id) bytes) from the file; all of the coded data.
  bool readBlock(int fd, uint32_t id, uint8_t* coded) const;
  bool readData(int fd, std::vector<uint8_t>& data) const;

  // Whether a coded block is as written (its checksum).
  bool blockIntact(uint32_t id, const uint8_t* coded) const;
  // Checks and decodes a coded block; false when it is damaged.
  bool decodeBlock(uint32_t id, const uint8_t* coded, uint8_t* values) const;

 private:
  uint64_t positions_ = 0;
  uint32_t blocks_ = 0;
  uint64_t dataStart_ = 0;
  BlockCode code_[2];
  std::vector<uint64_t> offsets_;
  std::vector<uint32_t> crcs_;
};

// Writes the table of `ending` (values per side to move, NO_POSITION where there is none) to
// `path`, through a temporary file, so that a table that is there is always whole.
bool writeTable(const std::string& path, const Ending& ending, const std::vector<uint8_t> values[2],
                std::string& error);

// Reads a whole table into values per side to move; positions with no legal position read as
// whatever the file stores there.
bool readTable(const std::string& path, const Ending& ending, std::vector<uint8_t> values[2], std::string& error);

}  // namespace egbb
