// CRC-32 (the polynomial 0xEDB88320), the check of every table header and block.
#pragma once
#include <cstddef>
#include <cstdint>

namespace egbb {

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

}  // namespace egbb
