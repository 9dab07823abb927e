// PNG through libpng.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/graphics/decoded_image.h"

namespace zrb::graphics {

bool LooksLikePng(std::span<const uint8_t> bytes);

// Palette images, low bit depths and transparency chunks are expanded and 16-bit channels
// cut to 8. Grey becomes opaque grey, RGB opaque except that the `key` colour becomes
// (0, 0, 0, 0), RGBA stays as it is. Grey with alpha and anything else that is not 8-bit
// grey, RGB or RGBA is refused with a line on standard output naming `fileName`.
// libpng errors (corrupt, truncated, hostile files) end in false, never in an exit.
bool DecodePng(std::span<const uint8_t> bytes, Rgb key, std::string_view fileName,
               DecodedImage& out);

}  // namespace zrb::graphics
