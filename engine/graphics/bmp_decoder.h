// Our own decoder for uncompressed Windows bitmaps.
#pragma once

#include <cstdint>
#include <span>

#include "engine/graphics/decoded_image.h"

namespace zrb::graphics {

// True when `bytes` start with "BM" (the decoder's claim to the file).
bool LooksLikeBmp(std::span<const uint8_t> bytes);

// Decodes bit counts 1, 4, 8 (palette), 16 (5-5-5), 24 and 32 into top-down RGBA with
// alpha 255; pixels equal to `key` then get green, blue and alpha 0. False, with `out`
// unspecified, for anything truncated, inconsistent or unsupported.
bool DecodeBmp(std::span<const uint8_t> bytes, Rgb key, DecodedImage& out);

}  // namespace zrb::graphics
