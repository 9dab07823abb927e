// The JPEG decoder (libjpeg), and LoadAnim on what it accepts.
#include "engine/graphics/jpeg_decoder.h"
#include "fuzz/image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zrb::fuzz::FuzzImageLoading(
      data, size, [](auto bytes, auto& image) { return zrb::graphics::DecodeJpeg(bytes, image); });
  return 0;
}
