#include "engine/graphics/texture_image.h"

#include <algorithm>
#include <cstring>
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
  // a mark need the neighbour search. Each readable row's own marks are made once and kept
  // for the three rows that look at it.
  std::vector<uint8_t> coloured(static_cast<size_t>(w) + 2, 0);
  std::vector<uint8_t> marks[3];
  int markedRow[3] = {-1, -1, -1};
  const auto marksOf = [&](int row) -> const uint8_t* {
    const int slot = row % 3;
    std::vector<uint8_t>& rowMarks = marks[slot];
    if (markedRow[slot] != row) {
      rowMarks.assign(static_cast<size_t>(w) + 2, 0);
      const uint8_t* texels = texture.Texel(0, row);
      uint8_t* out = rowMarks.data();
      for (int nx = 1; nx <= lastReadColumn; ++nx)
        out[nx] = texels[4 * nx + 3] != 0 ? 1 : 0;
      markedRow[slot] = row;
    }
    return rowMarks.data();
  };
  // Only opaque texels are read, and only transparent ones written, so one pass in place
  // sees exactly the colours of the original picture.
  for (int y = 0; y < rowsEnd; ++y) {
    const int firstRow = std::max(y - 1, 1);
    const int lastRow = std::min(y + 1, h - 2);
    uint8_t* near = coloured.data() + 1;  // near[-1] and near[w] stay 0
    std::fill_n(near, w, 0);
    for (int ny = firstRow; ny <= lastRow; ++ny) {
      const uint8_t* rowMarks = marksOf(ny);
      for (int x = 0; x < w; ++x)
        near[x] |= rowMarks[x];
    }
    uint8_t* texel = texture.Texel(0, y);
    for (int x = 0; x < columnsEnd; ++x, texel += 4) {
      if (texel[3] != 0) continue;
      if (!(near[x - 1] | near[x] | near[x + 1])) {
        texel[0] = texel[1] = texel[2] = 0;
        continue;
      }
      unsigned sum[3] = {0, 0, 0};
      unsigned count = 0;
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
      for (int c = 0; c < 3; ++c) {
        texel[c] = count ? static_cast<uint8_t>((sum[c] + count / 2) / count) : 0;
      }
    }
  }
}

namespace {

// One texel of the next level: each byte the rounded mean of the four texels' bytes, two
// bytes at a time in 16-bit lanes (4 * 255 + 2 fits).
void MeanOfFour(uint8_t* out, const uint8_t* a, const uint8_t* b, const uint8_t* c,
                const uint8_t* d) {
  uint32_t p[4];
  std::memcpy(&p[0], a, 4);
  std::memcpy(&p[1], b, 4);
  std::memcpy(&p[2], c, 4);
  std::memcpy(&p[3], d, 4);
  constexpr uint32_t kLanes = 0x00FF00FF;
  uint32_t even = 0x00020002, odd = 0x00020002;
  for (const uint32_t texel : p) {
    even += texel & kLanes;
    odd += (texel >> 8) & kLanes;
  }
  const uint32_t mean = ((even >> 2) & kLanes) | (((odd >> 2) & kLanes) << 8);
  std::memcpy(out, &mean, 4);
}

}  // namespace

std::vector<TexturePixels> BuildMipmapLevels(const TexturePixels& base) {
  std::vector<TexturePixels> levels;
  const TexturePixels* previous = &base;
  while (previous->width > 1 || previous->height > 1) {
    TexturePixels level;
    level.width = std::max(1, previous->width / 2);
    level.height = std::max(1, previous->height / 2);
    level.rgba.resize(static_cast<size_t>(level.width) * level.height * 4);
    // Byte offsets of the second texel across and the second row down (none on a side of 1).
    const size_t across = previous->width > 1 ? 4 : 0;
    const size_t down = previous->height > 1 ? static_cast<size_t>(previous->width) * 4 : 0;
    for (int y = 0; y < level.height; ++y) {
      const uint8_t* const top = previous->Texel(0, 2 * y);
      const uint8_t* const bottom = top + down;
      uint8_t* const out = level.Texel(0, y);
      for (int x = 0; x < level.width; ++x) {
        const size_t at = static_cast<size_t>(x) * 8;
        MeanOfFour(out + 4 * static_cast<size_t>(x), top + at, top + at + across, bottom + at,
                   bottom + at + across);
      }
    }
    levels.push_back(std::move(level));
    previous = &levels.back();
  }
  return levels;
}

std::vector<uint8_t> AlphaPlane(const TexturePixels& texture) {
  const size_t count = static_cast<size_t>(texture.width) * texture.height;
  std::vector<uint8_t> alpha(count);
  const uint8_t* const in = texture.rgba.data();
  uint8_t* const out = alpha.data();
  for (size_t i = 0; i < count; ++i)
    out[i] = in[i * 4 + 3];
  return alpha;
}

}  // namespace zrb::graphics
