#include "engine/graphics/image_decoder.h"

#include "engine/graphics/bmp_decoder.h"
#include "engine/graphics/jpeg_decoder.h"
#include "engine/graphics/png_decoder.h"

namespace zrb::graphics {

bool DecodeImage(std::span<const uint8_t> bytes, Rgb key, std::string_view fileName,
                 DecodedImage& out) {
  return DecodeBmp(bytes, key, out) || DecodePng(bytes, key, fileName, out) ||
         DecodeJpeg(bytes, out);
}

}  // namespace zrb::graphics
