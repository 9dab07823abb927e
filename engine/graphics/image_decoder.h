// Turns the bytes of an image file into RGBA, trying BMP, then PNG, then JPEG.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/graphics/decoded_image.h"

namespace zrb::graphics {

// The first decoder that succeeds wins. `fileName` only appears in the PNG decoder's
// messages about unsupported kinds.
bool DecodeImage(std::span<const uint8_t> bytes, Rgb key, std::string_view fileName,
                 DecodedImage& out);

}  // namespace zrb::graphics
