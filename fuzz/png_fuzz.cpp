// The PNG decoder (libpng), and LoadAnim on what it accepts. Chunk checksums are repaired
// before decoding, so mutations reach the chunk contents instead of stopping at the CRC test
// (a damaged CRC itself is covered by the unrepaired seeds and the decoder tests).
#include <zlib.h>

#include <vector>

#include "engine/graphics/png_decoder.h"
#include "fuzz/image_fuzz.h"

namespace {

uint32_t LoadBigEndian(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// Rewrites the CRC of every whole chunk after the signature.
void RepairChunkChecksums(std::vector<uint8_t>& png) {
  size_t at = 8;
  while (at + 12 <= png.size()) {
    const uint64_t length = LoadBigEndian(&png[at]);
    if (length > png.size() - at - 12) break;
    const auto crc = static_cast<uint32_t>(crc32(0, &png[at + 4], static_cast<uInt>(length + 4)));
    uint8_t* stored = &png[at + 8 + length];
    stored[0] = static_cast<uint8_t>(crc >> 24);
    stored[1] = static_cast<uint8_t>(crc >> 16);
    stored[2] = static_cast<uint8_t>(crc >> 8);
    stored[3] = static_cast<uint8_t>(crc);
    at += 12 + length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> png(data, data + size);
  // One input in eight keeps its checksums as they are.
  if (size == 0 || data[size - 1] % 8 != 0) RepairChunkChecksums(png);
  zrb::fuzz::FuzzImageLoading(png.data(), png.size(), [](auto bytes, auto& image) {
    return zrb::graphics::DecodePng(bytes, zrb::graphics::Rgb{255, 0, 128}, "fuzz.png", image);
  });
  return 0;
}
