// The compression of table blocks. A block of values becomes a stream of symbols: a value, or
// a run that repeats the previous value r times (symbol 256 + k for 2^k <= r < 2^(k+1), followed
// by the k low bits of r). The symbols are written in a canonical Huffman code, one code per
// table and side to move, which the table's header gives as code lengths.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace egbb {

inline constexpr int BLOCK_VALUES = 8192;
inline constexpr int RUN_SYMBOLS = 13;  // runs up to BLOCK_VALUES - 1
inline constexpr int SYMBOLS = 256 + RUN_SYMBOLS;
inline constexpr int MAX_CODE_LENGTH = 24;

// Adds the symbols that a block of values becomes to `counts` (SYMBOLS entries).
void countSymbols(const uint8_t* values, int n, uint64_t* counts);

// Code lengths for symbol counts, none longer than MAX_CODE_LENGTH; unused symbols get 0.
void codeLengths(const uint64_t* counts, uint8_t* lengths);

class BlockCode {
 public:
  // False when the lengths make no prefix code (oversubscribed, too long, or no symbol at all).
  bool setLengths(const uint8_t* lengths);

  // Appends the coded block; every symbol it needs has a code.
  void encode(const uint8_t* values, int n, std::vector<uint8_t>& out) const;

  // Decodes exactly n values; false for data that is not such a block.
  bool decode(const uint8_t* data, size_t size, uint8_t* values, int n) const;

 private:
  uint8_t length_[SYMBOLS] = {};
  uint32_t reversedCode_[SYMBOLS] = {};  // codes bit-reversed, as the stream holds them
  uint16_t countOfLength_[MAX_CODE_LENGTH + 1] = {};
  uint16_t sorted_[SYMBOLS] = {};  // symbols by code
  int maxLength_ = 0;
};

}  // namespace egbb
