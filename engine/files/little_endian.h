// Little-endian byte order, whatever the machine's own order is.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zrb::files {

inline uint64_t LoadLittleEndian(const uint8_t* bytes, size_t count) {
  uint64_t value = 0;
  for (size_t i = count; i-- > 0;)
    value = (value << 8) | bytes[i];
  return value;
}

inline void StoreLittleEndian(uint64_t value, uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i, value >>= 8)
    bytes[i] = static_cast<uint8_t>(value & 0xFF);
}

inline uint32_t LoadLe32(const uint8_t* bytes) {
  return static_cast<uint32_t>(LoadLittleEndian(bytes, 4));
}

}  // namespace zrb::files
