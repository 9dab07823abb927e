// A small 24-bit BMP written by the benchmarks themselves, so they need no media.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace zrb::bench {

// colourAt(x, y) gives 0xRRGGBB for the pixel at column x of row y (top row 0).
inline bool WriteBmp24(const std::string& path, int width, int height,
                       const std::function<uint32_t(int, int)>& colourAt) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  std::vector<uint8_t> bytes(54 + static_cast<size_t>(stride) * height, 0);
  auto put32 = [&](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
      bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bytes.data() + 54 + static_cast<size_t>(stride) * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const uint32_t c = colourAt(x, y);
      row[x * 3] = c & 0xFF;
      row[x * 3 + 1] = (c >> 8) & 0xFF;
      row[x * 3 + 2] = (c >> 16) & 0xFF;
    }
  }
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

}  // namespace zrb::bench
