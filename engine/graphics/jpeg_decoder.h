// JPEG through libjpeg.
#pragma once

#include <cstdint>
#include <span>

#include "engine/graphics/decoded_image.h"

namespace zrb::graphics {

bool LooksLikeJpeg(std::span<const uint8_t> bytes);

// Grey or colour JPEG into opaque RGBA; the colour key does not apply. Any libjpeg error or
// corrupt-data warning (a truncated file among them) ends in false, never in an exit.
bool DecodeJpeg(std::span<const uint8_t> bytes, DecodedImage& out);

}  // namespace zrb::graphics
