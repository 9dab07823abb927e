// The picture-loading path for one decoder: the decoder itself on the fuzz bytes, then, for
// what it accepts, the whole of LoadAnim through an in-memory file with the recording
// renderer (texture layout, colour bleeding, mipmaps, alpha mask), a draw and a collision.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/graphics/decoded_image.h"
#include "engine/graphics/draw.h"
#include "engine/graphics/sprites.h"
#include "engine/values/runtime_error.h"
#include "fuzz/fuzz_support.h"

namespace zrb::fuzz {

// Larger images only repeat the same upload work more slowly.
inline constexpr int64_t kMaxPixelsLoaded = 512 * 512;
inline constexpr int32_t kSpriteSlot = 7;

template <typename Decode>
void FuzzImageLoading(const uint8_t* data, size_t size, Decode decode) {
  const std::span<const uint8_t> bytes(data, size);
  graphics::DecodedImage image;
  const bool decoded = decode(bytes, image);
  if (!decoded) return;
  FUZZ_CHECK(graphics::ImageSizeAllowed(image.width, image.height));
  FUZZ_CHECK(image.rgba.size() == static_cast<size_t>(image.width) * image.height * 4);
  if (int64_t{image.width} * image.height > kMaxPixelsLoaded) return;

  PublishedBytes file(data, size);
  const int32_t frameWidth = image.width > 1 ? image.width / 2 : 1;
  const int32_t frameHeight = image.height;
  LoadAnim(file.Name(), kSpriteSlot, frameWidth, frameHeight);
  // The decoders are the same ones LoadSprite tries, so what one accepted must load.
  FUZZ_CHECK(RuntimeError().code == kErrorSuccess);
  const SpriteDimensions loaded = SpriteSize(kSpriteSlot);
  FUZZ_CHECK(loaded.width > 0 && loaded.height > 0);
  DrawAnim(kSpriteSlot, 1, 3, 4);
  // Overlapping itself: any solid pixel collides, so the answer follows from the image.
  AnimCollision(kSpriteSlot, 0, 0, 0, kSpriteSlot, 1, frameWidth / 2, 1);
  AnimCollision(kSpriteSlot, 3, -5, 2, kSpriteSlot, 0, 0, 0);
}

}  // namespace zrb::fuzz
