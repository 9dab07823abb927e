// Encoding a picture as PNG through libpng (screenshots).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace zrb::graphics {

// `rgba` holds width x height pixels, top row first; the PNG gets their RGB (a picture on
// screen has no meaningful alpha). Nothing on any failure. The bytes are made in memory, so
// that the file they go to can be put in place whole (platform/file_access.h).
std::optional<std::vector<uint8_t>> EncodePng(const uint8_t* rgba, int width, int height);

}  // namespace zrb::graphics
