// From decoded image to texture pixels: sides, the upside-down layout, colour bleeding
// into transparent texels, and the mipmap chain.
#include "engine/graphics/texture_image.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace zrb::graphics {
namespace {

DecodedImage SolidImage(int width, int height, std::array<uint8_t, 4> rgba) {
  DecodedImage image;
  image.Resize(width, height);
  for (size_t i = 0; i < image.rgba.size(); ++i)
    image.rgba[i] = rgba[i % 4];
  return image;
}

std::array<uint8_t, 4> TexelOf(const TexturePixels& texture, int x, int y) {
  const uint8_t* t = texture.Texel(x, y);
  return {t[0], t[1], t[2], t[3]};
}

TEST(TextureImage, ImageIsStoredUpsideDownInTheBottomLeftCorner) {
  DecodedImage image = SolidImage(3, 2, {0, 0, 0, 255});
  image.Row(0)[0] = 11;      // top-left pixel
  image.Row(1)[2 * 4] = 22;  // bottom-right pixel
  TexturePixels texture = LayOutTexture(image, 3, 2);
  ASSERT_EQ(texture.width, 16);
  ASSERT_EQ(texture.height, 16);
  EXPECT_EQ(texture.Texel(0, 1)[0], 11);  // texture row 1 = image row 0
  EXPECT_EQ(texture.Texel(2, 0)[0], 22);  // texture row 0 = image row 1
  EXPECT_EQ(texture.Texel(0, 0)[3], 255);
  EXPECT_EQ(TexelOf(texture, 3, 0), (std::array<uint8_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(TexelOf(texture, 0, 2), (std::array<uint8_t, 4>{0, 0, 0, 0}));
}

// Every transparent texel looks at all of its readable neighbours: the reference the
// loader's faster search (which skips columns far from any colour) must agree with.
TexturePixels BleedByFullSearch(TexturePixels texture) {
  const int w = texture.width, h = texture.height;
  const TexturePixels original = texture;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* texel = texture.Texel(x, y);
      if (texel[3] != 0) continue;
      unsigned sum[3] = {0, 0, 0}, count = 0;
      for (int ny = y - 1; ny <= y + 1; ++ny) {
        for (int nx = x - 1; nx <= x + 1; ++nx) {
          if (nx < 1 || ny < 1 || nx > w - 2 || ny > h - 2) continue;
          const uint8_t* n = original.Texel(nx, ny);
          if (n[3] == 0) continue;
          for (int c = 0; c < 3; ++c)
            sum[c] += n[c];
          ++count;
        }
      }
      for (int c = 0; c < 3; ++c)
        texel[c] = count ? static_cast<uint8_t>((sum[c] + count / 2) / count) : 0;
    }
  }
  return texture;
}

TEST(TextureImage, BleedingAgreesWithAFullNeighbourSearch) {
  std::mt19937 random(7);
  const int sizes[][2] = {{1, 1}, {2, 3}, {3, 1}, {3, 3}, {16, 16}, {64, 16}, {128, 64}};
  for (const auto& size : sizes) {
    for (int picture = 0; picture < 20; ++picture) {
      TexturePixels texture;
      texture.width = size[0];
      texture.height = size[1];
      texture.rgba.resize(static_cast<size_t>(texture.width) * texture.height * 4);
      // A picture in one corner of a padded texture: coloured texels, some partly transparent,
      // holes of every colour, and the rest clear as padding leaves it.
      const int usedWidth = 1 + static_cast<int>(random() % texture.width);
      const int usedHeight = 1 + static_cast<int>(random() % texture.height);
      for (int y = 0; y < texture.height; ++y) {
        for (int x = 0; x < texture.width; ++x) {
          uint8_t* texel = texture.Texel(x, y);
          for (int c = 0; c < 3; ++c)
            texel[c] = static_cast<uint8_t>(random());
          const bool inside = x < usedWidth && y < usedHeight;
          texel[3] = inside && random() % 3 != 0 ? static_cast<uint8_t>(1 + random() % 255) : 0;
        }
      }
      TexturePixels padded = texture;
      const TexturePixels expected = BleedByFullSearch(texture);
      BleedColourIntoTransparent(texture);
      ASSERT_EQ(texture.rgba, expected.rgba) << size[0] << "x" << size[1] << " picture " << picture;

      // As the loader lays pictures out: clear padding, and the search told the picture's size.
      for (int y = 0; y < padded.height; ++y) {
        for (int x = 0; x < padded.width; ++x) {
          if (x >= usedWidth || y >= usedHeight) std::fill_n(padded.Texel(x, y), 4, 0);
        }
      }
      const TexturePixels expectedPadded = BleedByFullSearch(padded);
      BleedColourIntoTransparent(padded, usedWidth, usedHeight);
      ASSERT_EQ(padded.rgba, expectedPadded.rgba)
          << size[0] << "x" << size[1] << " padded picture " << picture;
    }
  }
}

TEST(TextureImage, MipmapLevelsHalveDownToOneTexel) {
  TexturePixels texture;
  texture.width = 64;
  texture.height = 16;
  texture.rgba.assign(64 * 16 * 4, 0);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 64; ++x)
      texture.Texel(x, y)[0] = x < 32 ? 200 : 100;
  }
  std::vector<TexturePixels> levels = BuildMipmapLevels(texture);
  ASSERT_EQ(levels.size(), 6u);  // 32x8 16x4 8x2 4x1 2x1 1x1
  EXPECT_EQ(levels[0].width, 32);
  EXPECT_EQ(levels[0].height, 8);
  EXPECT_EQ(levels[3].width, 4);
  EXPECT_EQ(levels[3].height, 1);
  EXPECT_EQ(levels[5].width, 1);
  EXPECT_EQ(levels[5].height, 1);
  EXPECT_EQ(levels[3].Texel(0, 0)[0], 200);
  EXPECT_EQ(levels[3].Texel(3, 0)[0], 100);
  EXPECT_EQ(levels[5].Texel(0, 0)[0], 150);
}

}  // namespace
}  // namespace zrb::graphics
