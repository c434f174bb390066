#include "core/block_code.h"

#include <algorithm>
#include <queue>

namespace egbb {

namespace {

int runSymbol(int run) { return 256 + (31 - __builtin_clz(unsigned(run))); }

// Calls emit(symbol, extraBits, extraBitCount) for each symbol of the block.
template <typename Emit>
void tokens(const uint8_t* values, int n, Emit emit) {
  for (int i = 0; i < n;) {
    if (i > 0 && values[i] == values[i - 1]) {
      int run = 1;
      while (i + run < n && values[i + run] == values[i - 1]) ++run;
      int symbol = runSymbol(run), k = symbol - 256;
      emit(symbol, uint32_t(run - (1 << k)), k);
      i += run;
    } else {
      emit(values[i], 0u, 0);
      ++i;
    }
  }
}

// Huffman code lengths for counts, possibly longer than the limit.
int huffmanLengths(const std::vector<uint64_t>& counts, uint8_t* lengths) {
  struct Node {
    uint64_t weight;
    int id;
    bool operator>(const Node& o) const { return weight != o.weight ? weight > o.weight : id > o.id; }
  };
  std::priority_queue<Node, std::vector<Node>, std::greater<Node>> queue;
  std::vector<int> parent(2 * SYMBOLS, -1);
  int next = SYMBOLS, used = 0;
  for (int s = 0; s < SYMBOLS; ++s)
    if (counts[s]) queue.push({counts[s], s}), ++used;
  std::fill(lengths, lengths + SYMBOLS, 0);
  if (used == 1) {
    lengths[queue.top().id] = 1;
    return 1;
  }
  while (queue.size() > 1) {
    Node a = queue.top();
    queue.pop();
    Node b = queue.top();
    queue.pop();
    parent[a.id] = parent[b.id] = next;
    queue.push({a.weight + b.weight, next++});
  }
  int longest = 0;
  for (int s = 0; s < SYMBOLS; ++s) {
    if (!counts[s]) continue;
    int depth = 0;
    for (int node = s; parent[node] >= 0; node = parent[node]) ++depth;
    lengths[s] = uint8_t(depth);
    longest = std::max(longest, depth);
  }
  return longest;
}

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void put(uint32_t bits, int count) {
    buffer_ |= uint64_t(bits) << filled_;
    filled_ += count;
    while (filled_ >= 8) {
      out_.push_back(uint8_t(buffer_));
      buffer_ >>= 8;
      filled_ -= 8;
    }
  }
  void flush() {
    if (filled_ > 0) out_.push_back(uint8_t(buffer_));
    buffer_ = 0;
    filled_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t buffer_ = 0;
  int filled_ = 0;
};

class BitReader {
 public:
  BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  // False once the data is used up.
  bool bit(int& b) {
    if (filled_ == 0 && !refill()) return false;
    b = int(buffer_ & 1);
    buffer_ >>= 1;
    --filled_;
    return true;
  }
  bool bits(int count, uint32_t& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
      int b;
      if (!bit(b)) return false;
      value |= uint32_t(b) << i;
    }
    return true;
  }

 private:
  bool refill() {
    if (next_ >= size_) return false;
    while (filled_ <= 56 && next_ < size_) {
      buffer_ |= uint64_t(data_[next_++]) << filled_;
      filled_ += 8;
    }
    return true;
  }
  const uint8_t* data_;
  size_t size_, next_ = 0;
  uint64_t buffer_ = 0;
  int filled_ = 0;
};

}  // namespace

void countSymbols(const uint8_t* values, int n, uint64_t* counts) {
  tokens(values, n, [&](int symbol, uint32_t, int) { ++counts[symbol]; });
}

void codeLengths(const uint64_t* counts, uint8_t* lengths) {
  std::vector<uint64_t> scaled(counts, counts + SYMBOLS);
  // Flatter counts give shorter longest codes; halve until the code fits.
  while (huffmanLengths(scaled, lengths) > MAX_CODE_LENGTH)
    for (uint64_t& c : scaled)
      if (c) c = (c + 1) / 2;
}

bool BlockCode::setLengths(const uint8_t* lengths) {
  std::fill(std::begin(countOfLength_), std::end(countOfLength_), 0);
  maxLength_ = 0;
  for (int s = 0; s < SYMBOLS; ++s) {
    if (lengths[s] > MAX_CODE_LENGTH) return false;
    length_[s] = lengths[s];
    if (lengths[s]) ++countOfLength_[lengths[s]], maxLength_ = std::max(maxLength_, int(lengths[s]));
  }
  if (maxLength_ == 0) return false;
  // Kraft's inequality: the codes must fit in the code space.
  uint64_t space = 0;
  for (int len = 1; len <= MAX_CODE_LENGTH; ++len) space += uint64_t(countOfLength_[len]) << (MAX_CODE_LENGTH - len);
  if (space > (uint64_t(1) << MAX_CODE_LENGTH)) return false;

  uint32_t nextCode[MAX_CODE_LENGTH + 2] = {};
  int offset[MAX_CODE_LENGTH + 2] = {};
  for (int len = 1; len <= MAX_CODE_LENGTH; ++len) {
    nextCode[len + 1] = (nextCode[len] + countOfLength_[len]) << 1;
    offset[len + 1] = offset[len] + countOfLength_[len];
  }
  for (int s = 0; s < SYMBOLS; ++s) {
    int len = length_[s];
    if (!len) continue;
    uint32_t code = nextCode[len]++;
    sorted_[offset[len]++] = uint16_t(s);
    uint32_t reversed = 0;
    for (int i = 0; i < len; ++i) reversed |= ((code >> i) & 1) << (len - 1 - i);
    reversedCode_[s] = reversed;
  }
  return true;
}

void BlockCode::encode(const uint8_t* values, int n, std::vector<uint8_t>& out) const {
  BitWriter writer(out);
  tokens(values, n, [&](int symbol, uint32_t extra, int extraBits) {
    writer.put(reversedCode_[symbol], length_[symbol]);
    if (extraBits) writer.put(extra, extraBits);
  });
  writer.flush();
}

bool BlockCode::decode(const uint8_t* data, size_t size, uint8_t* values, int n) const {
  BitReader reader(data, size);
  for (int done = 0; done < n;) {
    // Canonical decoding: codes of one length are consecutive numbers.
    int code = 0, first = 0, index = 0, symbol = -1;
    for (int len = 1; len <= maxLength_; ++len) {
      int b;
      if (!reader.bit(b)) return false;
      code |= b;
      int count = countOfLength_[len];
      if (code - first < count) {
        symbol = sorted_[index + code - first];
        break;
      }
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    if (symbol < 0) return false;
    if (symbol < 256) {
      values[done++] = uint8_t(symbol);
      continue;
    }
    int k = symbol - 256;
    uint32_t extra;
    if (done == 0 || !reader.bits(k, extra)) return false;
    int run = (1 << k) + int(extra);
    if (run > n - done) return false;
    std::fill(values + done, values + done + run, values[done - 1]);
    done += run;
  }
  return true;
}

}  // namespace egbb
