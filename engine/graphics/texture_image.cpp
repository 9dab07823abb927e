#include "engine/graphics/texture_image.h"

#include <algorithm>

namespace zrb::graphics {

int TextureSideFor(int imageSide) {
  int side = 16;
  while (side < imageSide)
    side *= 2;
  return side;
}

TexturePixels LayOutTexture(const DecodedImage& image, int width, int height) {
  width = std::min(width, image.width);
  height = std::min(height, image.height);
  TexturePixels texture;
  texture.width = TextureSideFor(width);
  texture.height = TextureSideFor(height);
  texture.rgba.assign(static_cast<size_t>(texture.width) * texture.height * 4, 0);
  for (int y = 0; y < height; ++y) {
    std::copy_n(image.Row(y), static_cast<size_t>(width) * 4, texture.Texel(0, height - 1 - y));
  }
  return texture;
}

void BleedColourIntoTransparent(TexturePixels& texture) {
  const int w = texture.width;
  const int h = texture.height;
  // Only opaque texels are read, and only transparent ones written, so one pass in place
  // sees exactly the colours of the original picture.
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* texel = texture.Texel(x, y);
      if (texel[3] != 0) continue;
      unsigned sum[3] = {0, 0, 0};
      unsigned count = 0;
      for (int ny = std::max(y - 1, 1); ny <= std::min(y + 1, h - 2); ++ny) {
        for (int nx = std::max(x - 1, 1); nx <= std::min(x + 1, w - 2); ++nx) {
          const uint8_t* neighbour = texture.Texel(nx, ny);
          if (neighbour[3] == 0) continue;
          sum[0] += neighbour[0];
          sum[1] += neighbour[1];
          sum[2] += neighbour[2];
          ++count;
        }
      }
      for (int c = 0; c < 3; ++c) {
        texel[c] = count ? static_cast<uint8_t>((sum[c] + count / 2) / count) : 0;
      }
    }
  }
}

std::vector<TexturePixels> BuildMipmapLevels(const TexturePixels& base) {
  std::vector<TexturePixels> levels;
  const TexturePixels* previous = &base;
  while (previous->width > 1 || previous->height > 1) {
    TexturePixels level;
    level.width = std::max(1, previous->width / 2);
    level.height = std::max(1, previous->height / 2);
    level.rgba.resize(static_cast<size_t>(level.width) * level.height * 4);
    const int stepX = previous->width > 1 ? 1 : 0;
    const int stepY = previous->height > 1 ? 1 : 0;
    for (int y = 0; y < level.height; ++y) {
      for (int x = 0; x < level.width; ++x) {
        const uint8_t* a = previous->Texel(2 * x, 2 * y);
        const uint8_t* b = previous->Texel(2 * x + stepX, 2 * y);
        const uint8_t* c = previous->Texel(2 * x, 2 * y + stepY);
        const uint8_t* d = previous->Texel(2 * x + stepX, 2 * y + stepY);
        uint8_t* out = level.Texel(x, y);
        for (int i = 0; i < 4; ++i)
          out[i] = static_cast<uint8_t>((a[i] + b[i] + c[i] + d[i] + 2) / 4);
      }
    }
    levels.push_back(std::move(level));
    previous = &levels.back();
  }
  return levels;
}

std::vector<uint8_t> AlphaPlane(const TexturePixels& texture) {
  std::vector<uint8_t> alpha(static_cast<size_t>(texture.width) * texture.height);
  for (size_t i = 0; i < alpha.size(); ++i)
    alpha[i] = texture.rgba[i * 4 + 3];
  return alpha;
}

}  // namespace zrb::graphics
