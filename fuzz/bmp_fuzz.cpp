// The BMP decoder, and LoadAnim on what it accepts.
#include "engine/graphics/bmp_decoder.h"
#include "fuzz/image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zrb::fuzz::FuzzImageLoading(data, size, [](auto bytes, auto& image) {
    return zrb::graphics::DecodeBmp(bytes, zrb::graphics::Rgb{255, 0, 128}, image);
  });
  return 0;
}
