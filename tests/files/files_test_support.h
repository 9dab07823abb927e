// Scratch folders, files and hand-made archives for the files and sbx tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "support/scratch_dir.h"

namespace zrb::testing {

using Bytes = std::vector<uint8_t>;

// A fresh folder that is the working directory while the object lives; its "tmp" subfolder
// is the temporary directory ($TMPDIR) meanwhile.
inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline Bytes TextBytes(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// Deterministic bytes that compress somewhat: words from a small vocabulary mixed with noise.
inline Bytes PatternBytes(size_t size, uint32_t seed) {
  static constexpr std::string_view kWords[] = {"penguin ", "maze ", "web ",   "spider ",
                                                "flame ",   "bird ", "heart ", "cage "};
  Bytes out;
  out.reserve(size);
  uint32_t state = seed * 2654435761u + 1;
  while (out.size() < size) {
    state = state * 1664525u + 1013904223u;
    if ((state >> 28) == 0) {
      out.push_back(static_cast<uint8_t>(state >> 16));
    } else {
      for (char c : kWords[(state >> 24) & 7])
        out.push_back(static_cast<uint8_t>(c));
    }
  }
  out.resize(size);
  return out;
}

inline void AppendLe32(Bytes& out, int64_t value) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
}

inline void AppendEntry(Bytes& out, std::string_view name, int64_t offset, int64_t stored) {
  out.push_back(static_cast<uint8_t>(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  AppendLe32(out, offset);
  AppendLe32(out, stored);
}

inline void AppendTrailer(Bytes& out, int64_t directoryOffset) {
  out.insert(out.end(), {'s', 'b', 'X'});
  AppendLe32(out, directoryOffset);
}

}  // namespace zrb::testing
