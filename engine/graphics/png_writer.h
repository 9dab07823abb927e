// Saving a picture as a PNG file through libpng (screenshots).
#pragma once

#include <cstdint>
#include <string>

namespace zrb::graphics {

// `rgba` holds width x height pixels, top row first; the file gets their RGB (a picture on
// screen has no meaningful alpha). False, leaving no partial file behind, on any failure.
bool WritePng(const std::string& path, const uint8_t* rgba, int width, int height);

}  // namespace zrb::graphics
