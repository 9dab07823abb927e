// How a decoded image becomes texture pixels: power-of-two sides, stored upside down so that
// texture coordinate (0, 0) is the image's bottom-left corner, transparent texels coloured
// from their neighbours, and the halved levels of the mipmapped copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/graphics/decoded_image.h"

namespace zrb::graphics {

// 16, doubled while smaller than `imageSide`: 8 -> 16, 32 -> 32, 33 -> 64, 544 -> 1024.
int TextureSideFor(int imageSide);

struct TexturePixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // row 0 is texture coordinate v = 0

  uint8_t* Texel(int x, int y) {
    return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4;
  }
  const uint8_t* Texel(int x, int y) const {
    return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4;
  }
};

// The top-left `width` x `height` pixels of `image` (at most its own size) copied into a
// transparent black texture of power-of-two sides, image row y becoming texture row
// height - 1 - y.
TexturePixels LayOutTexture(const DecodedImage& image, int width, int height);

// Every fully transparent texel takes the rounded average colour of those of its eight
// neighbours that are not fully transparent, or black when there is none; alpha stays 0.
// Neighbours on the outermost rows and columns never count. Linear filtering then blends
// sprite edges towards their own colours instead of towards black.
void BleedColourIntoTransparent(TexturePixels& texture);
// The same for a texture as LayOutTexture makes it: the picture in the first pictureWidth
// columns of the first pictureHeight rows, every texel beyond them 0 in all four channels.
// Only the picture and the texels next to it are visited: the result is the same.
void BleedColourIntoTransparent(TexturePixels& texture, int pictureWidth, int pictureHeight);

// Levels 1, 2, ... of the mipmap chain: each a 2x2 box average of the one before, sides
// halved (never below 1) until both are 1.
std::vector<TexturePixels> BuildMipmapLevels(const TexturePixels& base);

// The alpha byte of every texel, in texture order.
std::vector<uint8_t> AlphaPlane(const TexturePixels& texture);

}  // namespace zrb::graphics
