#include "engine/graphics/texture_image.h"

#include <algorithm>
#include <vector>

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
  BleedColourIntoTransparent(texture, texture.width, texture.height);
}

void BleedColourIntoTransparent(TexturePixels& texture, int pictureWidth, int pictureHeight) {
  const int w = texture.width;
  const int h = texture.height;
  // Beyond the picture and the texels next to it, the padding is clear and stays so.
  const int rowsEnd = std::clamp(pictureHeight + 1, 0, h);
  const int columnsEnd = std::clamp(pictureWidth + 1, 0, w);
  const int lastReadColumn = std::min(w - 2, columnsEnd);
  // Textures are padded to powers of two and sprite sheets are mostly clear, so most
  // transparent texels have no coloured neighbour. Per row, `coloured` marks the readable
  // columns (not the outermost) where one of the rows around holds colour; only texels next to
  // a mark need the neighbour search.
  std::vector<uint8_t> coloured(static_cast<size_t>(w), 0);
  // Only opaque texels are read, and only transparent ones written, so one pass in place
  // sees exactly the colours of the original picture.
  for (int y = 0; y < rowsEnd; ++y) {
    const int firstRow = std::max(y - 1, 1);
    const int lastRow = std::min(y + 1, h - 2);
    std::fill(coloured.begin(), coloured.end(), 0);
    for (int ny = firstRow; ny <= lastRow; ++ny) {
      for (int nx = 1; nx <= lastReadColumn; ++nx)
        coloured[static_cast<size_t>(nx)] |= texture.Texel(nx, ny)[3] != 0 ? 1 : 0;
    }
    for (int x = 0; x < columnsEnd; ++x) {
      uint8_t* texel = texture.Texel(x, y);
      if (texel[3] != 0) continue;
      const bool nearColour = coloured[static_cast<size_t>(x)] ||
                              (x > 0 && coloured[static_cast<size_t>(x - 1)]) ||
                              (x + 1 < w && coloured[static_cast<size_t>(x + 1)]);
      unsigned sum[3] = {0, 0, 0};
      unsigned count = 0;
      if (nearColour) {
        const int firstColumn = std::max(x - 1, 1);
        const int lastColumn = std::min(x + 1, w - 2);
        for (int ny = firstRow; ny <= lastRow; ++ny) {
          const uint8_t* neighbour = texture.Texel(firstColumn, ny);
          for (int nx = firstColumn; nx <= lastColumn; ++nx, neighbour += 4) {
            if (neighbour[3] == 0) continue;
            sum[0] += neighbour[0];
            sum[1] += neighbour[1];
            sum[2] += neighbour[2];
            ++count;
          }
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
