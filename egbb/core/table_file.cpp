#include "core/table_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "core/crc32.h"
#include "core/index.h"
#include "core/value.h"

namespace egbb {

namespace {

constexpr char MAGIC[8] = {'D', 'O', 'R', 'V', 'I', 'K', 'T', 'B'};
constexpr uint32_t VERSION = 1;
constexpr size_t FIXED_HEADER = table_layout::OFFSETS;
// No block codes to more than this: a value costs at most MAX_CODE_LENGTH bits.
constexpr uint64_t MAX_CODED_BLOCK = uint64_t(BLOCK_VALUES) * MAX_CODE_LENGTH / 8 + 8;

template <typename T>
void put(std::vector<uint8_t>& out, T value) {
  for (size_t i = 0; i < sizeof(T); ++i) out.push_back(uint8_t(uint64_t(value) >> (8 * i)));
}

template <typename T>
T get(const uint8_t* p) {
  uint64_t v = 0;
  for (size_t i = 0; i < sizeof(T); ++i) v |= uint64_t(p[i]) << (8 * i);
  return T(v);
}

bool readAt(int fd, uint8_t* buffer, size_t size, uint64_t offset) {
  while (size > 0) {
    ssize_t n = pread(fd, buffer, size, off_t(offset));
    if (n <= 0) return false;
    buffer += n;
    size -= size_t(n);
    offset += uint64_t(n);
  }
  return true;
}

bool writeAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

uint32_t blocksFor(uint64_t positions) { return uint32_t((positions + BLOCK_VALUES - 1) / BLOCK_VALUES); }

// The values a block holds, with every non-position given the value before it.
void fillBlock(const std::vector<uint8_t>& values, uint64_t start, int n, uint8_t* block) {
  uint8_t previous = DRAW;
  for (int i = 0; i < n; ++i) {
    uint8_t v = values[start + i];
    block[i] = previous = v == NO_POSITION ? previous : v;
  }
}

}  // namespace

bool TableFile::open(int fd, const Ending& ending, std::string& error) {
  struct stat st;
  if (fstat(fd, &st) != 0) return error = "cannot read the file", false;
  uint64_t size = uint64_t(st.st_size);
  uint8_t fixed[FIXED_HEADER];
  if (size < FIXED_HEADER || !readAt(fd, fixed, FIXED_HEADER, 0)) return error = "truncated header", false;
  if (std::memcmp(fixed, MAGIC, 8) != 0) return error = "not a table file", false;
  if (get<uint32_t>(fixed + table_layout::VERSION) != VERSION) return error = "unknown table version", false;
  char name[9] = {};
  std::memcpy(name, fixed + table_layout::ENDING, 8);
  if (name != ending.name()) return error = "holds " + std::string(name) + ", not " + ending.name(), false;
  positions_ = get<uint64_t>(fixed + table_layout::POSITIONS);
  blocks_ = get<uint32_t>(fixed + table_layout::BLOCKS);
  if (get<uint32_t>(fixed + table_layout::BLOCK_VALUES) != BLOCK_VALUES || positions_ != Indexer(ending).size() || blocks_ != blocksFor(positions_))
    return error = "wrong table dimensions", false;
  for (int side = 0; side < 2; ++side)
    if (!code_[side].setLengths(fixed + table_layout::CODE_LENGTHS + side * SYMBOLS)) return error = "damaged code table", false;

  uint64_t blockCount = 2 * uint64_t(blocks_);
  uint64_t headerSize = FIXED_HEADER + 8 * (blockCount + 1) + 4 * blockCount + 4;
  if (size < headerSize) return error = "truncated header", false;
  std::vector<uint8_t> header(headerSize);
  if (!readAt(fd, header.data(), headerSize, 0)) return error = "cannot read the header", false;
  if (crc32(header.data(), headerSize - 4) != get<uint32_t>(header.data() + headerSize - 4))
    return error = "damaged header (checksum)", false;
  offsets_.resize(blockCount + 1);
  crcs_.resize(blockCount);
  const uint8_t* p = header.data() + FIXED_HEADER;
  for (uint64_t i = 0; i <= blockCount; ++i, p += 8) offsets_[i] = get<uint64_t>(p);
  for (uint64_t i = 0; i < blockCount; ++i, p += 4) crcs_[i] = get<uint32_t>(p);
  if (offsets_[0] != 0) return error = "damaged block offsets", false;
  for (uint64_t i = 0; i < blockCount; ++i)
    if (offsets_[i + 1] < offsets_[i] || offsets_[i + 1] - offsets_[i] > MAX_CODED_BLOCK)
      return error = "damaged block offsets", false;
  dataStart_ = headerSize;
  if (fileSize() != size)
    return error = size < fileSize() ? "truncated (" + std::to_string(size) + " of " + std::to_string(fileSize()) + " bytes)"
                                     : "longer than its header says",
           false;
  return true;
}

int TableFile::blockValues(uint32_t id) const {
  uint64_t start = uint64_t(id % blocks_) * BLOCK_VALUES;
  return int(std::min<uint64_t>(BLOCK_VALUES, positions_ - start));
}

bool TableFile::readBlock(int fd, uint32_t id, uint8_t* coded) const {
  return readAt(fd, coded, blockSize(id), dataStart_ + offsets_[id]);
}

bool TableFile::readData(int fd, std::vector<uint8_t>& data) const {
  data.resize(offsets_.back());
  return readAt(fd, data.data(), data.size(), dataStart_);
}

bool TableFile::blockIntact(uint32_t id, const uint8_t* coded) const { return crc32(coded, blockSize(id)) == crcs_[id]; }

bool TableFile::decodeBlock(uint32_t id, const uint8_t* coded, uint8_t* values) const {
  return blockIntact(id, coded) && code_[id / blocks_].decode(coded, blockSize(id), values, blockValues(id));
}

bool writeTable(const std::string& path, const Ending& ending, const std::vector<uint8_t> values[2], std::string& error) {
  uint64_t positions = values[0].size();
  uint32_t blocks = blocksFor(positions);
  std::vector<uint8_t> header, data;
  header.insert(header.end(), MAGIC, MAGIC + 8);
  put<uint32_t>(header, VERSION);
  std::string name = ending.name();
  name.resize(8, '\0');
  header.insert(header.end(), name.begin(), name.end());
  put<uint32_t>(header, BLOCK_VALUES);
  put<uint64_t>(header, positions);
  put<uint32_t>(header, blocks);

  std::vector<uint64_t> offsets{0};
  std::vector<uint32_t> crcs;
  uint8_t block[BLOCK_VALUES];
  for (int side = 0; side < 2; ++side) {
    auto blockAt = [&](uint32_t b) {
      int n = int(std::min<uint64_t>(BLOCK_VALUES, positions - uint64_t(b) * BLOCK_VALUES));
      fillBlock(values[side], uint64_t(b) * BLOCK_VALUES, n, block);
      return n;
    };
    uint64_t counts[SYMBOLS] = {};
    for (uint32_t b = 0; b < blocks; ++b) countSymbols(block, blockAt(b), counts);
    uint8_t lengths[SYMBOLS];
    codeLengths(counts, lengths);
    header.insert(header.end(), lengths, lengths + SYMBOLS);
    BlockCode code;
    code.setLengths(lengths);
    for (uint32_t b = 0; b < blocks; ++b) {
      size_t start = data.size();
      code.encode(block, blockAt(b), data);
      crcs.push_back(crc32(data.data() + start, data.size() - start));
      offsets.push_back(data.size());
    }
  }
  for (uint64_t o : offsets) put<uint64_t>(header, o);
  for (uint32_t c : crcs) put<uint32_t>(header, c);
  put<uint32_t>(header, crc32(header.data(), header.size()));

  std::string temporary = path + ".part";
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return error = "cannot create " + temporary, false;
  bool written = writeAll(fd, header.data(), header.size()) && writeAll(fd, data.data(), data.size());
  written = ::close(fd) == 0 && written;
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return error = "cannot write " + path, false;
  }
  return true;
}

bool readTable(const std::string& path, const Ending& ending, std::vector<uint8_t> values[2], std::string& error) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return error = path + ": cannot open", false;
  TableFile file;
  bool ok = file.open(fd, ending, error);
  std::vector<uint8_t> coded;
  for (uint32_t id = 0; ok && id < 2 * file.blocks(); ++id) {
    std::vector<uint8_t>& side = values[id / file.blocks()];
    side.resize(file.positions());
    coded.resize(file.blockSize(id));
    ok = file.readBlock(fd, id, coded.data()) &&
         file.decodeBlock(id, coded.data(), side.data() + uint64_t(id % file.blocks()) * BLOCK_VALUES);
    if (!ok) error = "damaged block " + std::to_string(id);
  }
  ::close(fd);
  if (!ok) error = path + ": " + error;
  return ok;
}

}  // namespace egbb
