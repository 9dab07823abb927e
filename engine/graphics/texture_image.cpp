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

namespace {

// The columns a texel may take colour from: its neighbours, not the outermost row or column.
struct SourceColumns {
  int first = 0;
  int last = -1;  // empty when last < first
};

// Per row, the first and last readable column holding a texel that is not fully transparent.
std::vector<SourceColumns> ColouredColumns(const TexturePixels& texture) {
  const int w = texture.width;
  std::vector<SourceColumns> rows(static_cast<size_t>(texture.height));
  for (int y = 1; y <= texture.height - 2; ++y) {
    SourceColumns& row = rows[static_cast<size_t>(y)];
    for (int x = 1; x <= w - 2; ++x) {
      if (texture.Texel(x, y)[3] == 0) continue;
      if (row.last < row.first) row.first = x;
      row.last = x;
    }
  }
  return rows;
}

}  // namespace

void BleedColourIntoTransparent(TexturePixels& texture) {
  const int w = texture.width;
  const int h = texture.height;
  // Textures are padded to powers of two, so most transparent texels lie far from any colour:
  // per row, only the columns next to a coloured texel of the rows around it need the search.
  const std::vector<SourceColumns> coloured = ColouredColumns(texture);
  // Only opaque texels are read, and only transparent ones written, so one pass in place
  // sees exactly the colours of the original picture.
  for (int y = 0; y < h; ++y) {
    const int firstRow = std::max(y - 1, 1);
    const int lastRow = std::min(y + 1, h - 2);
    int searchFrom = w;
    int searchTo = -1;
    for (int ny = firstRow; ny <= lastRow; ++ny) {
      const SourceColumns& row = coloured[static_cast<size_t>(ny)];
      if (row.last < row.first) continue;
      searchFrom = std::min(searchFrom, row.first - 1);
      searchTo = std::max(searchTo, row.last + 1);
    }
    for (int x = 0; x < w; ++x) {
      uint8_t* texel = texture.Texel(x, y);
      if (texel[3] != 0) continue;
      unsigned sum[3] = {0, 0, 0};
      unsigned count = 0;
      if (x >= searchFrom && x <= searchTo) {
        for (int ny = firstRow; ny <= lastRow; ++ny) {
          for (int nx = std::max(x - 1, 1); nx <= std::min(x + 1, w - 2); ++nx) {
            const uint8_t* neighbour = texture.Texel(nx, ny);
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
