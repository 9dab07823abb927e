// Texture rules the GL pixel tests rely on: which quads show texels one to one, how a texel
// rectangle is cut by its alpha, and colour bled into transparent texels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "engine/graphics/alpha_coverage.h"
#include "engine/graphics/cpu_present.h"
#include "engine/graphics/texel_centres.h"
#include "engine/graphics/texture_image.h"

namespace zrb::graphics {

namespace {

// Which quads show texels one to one, where the parts of such a quad land, and how a texel
// rectangle is cut by its alpha.
// A quad from picture corners and texel corners (texture 64 x 32).
TexturedQuad Quad(std::array<std::array<float, 4>, 4> corners) {
  TexturedQuad quad;
  for (int i = 0; i < 4; ++i)
    quad.corners[i] = {corners[i][0], corners[i][1], corners[i][2] / 64, corners[i][3] / 32};
  return quad;
}

TEST(TexelMapping, PlainMirroredAndTurnedQuadsMapAndTheirPartsLandInPlace) {
  const TexturedQuad plain =
      Quad({{{10, 20, 0, 8}, {42, 20, 32, 8}, {42, 44, 32, 32}, {10, 44, 0, 32}}});
  auto mapping = MapTexelsOneToOne(plain, 64, 32);
  ASSERT_TRUE(mapping);
  EXPECT_EQ(mapping->texels, (TexelRect{0, 8, 32, 32}));
  auto part = mapping->Corners({16, 8, 32, 16}, 64, 32);
  EXPECT_EQ(part[0].x, 26);  // texel column 16 sits 16 pixels right of the quad's left
  EXPECT_EQ(part[0].y, 20);
  EXPECT_EQ(part[2].x, 42);
  EXPECT_EQ(part[2].y, 28);
  EXPECT_EQ(part[2].u, 0.5f);
  EXPECT_EQ(part[2].v, 0.5f);

  // Mirrored left to right: texel column 0 at the right edge.
  const TexturedQuad mirrored =
      Quad({{{10, 20, 32, 0}, {42, 20, 0, 0}, {42, 52, 0, 32}, {10, 52, 32, 32}}});
  mapping = MapTexelsOneToOne(mirrored, 64, 32);
  ASSERT_TRUE(mapping);
  part = mapping->Corners({0, 0, 1, 1}, 64, 32);
  EXPECT_EQ(part[0].x, 42);
  EXPECT_EQ(part[1].x, 41);

  // A quarter turn: texture s runs down the picture.
  const TexturedQuad turned =
      Quad({{{10, 20, 0, 0}, {10, 52, 32, 0}, {42, 52, 32, 32}, {42, 20, 0, 32}}});
  mapping = MapTexelsOneToOne(turned, 64, 32);
  ASSERT_TRUE(mapping);
  part = mapping->Corners({4, 0, 5, 1}, 64, 32);
  EXPECT_EQ(part[0].x, 10);
  EXPECT_EQ(part[0].y, 24);

  // Turned and mirrored: texture t runs along the picture's x, s down it.
  const TexturedQuad across =
      Quad({{{10, 20, 0, 0}, {42, 20, 0, 32}, {42, 52, 32, 32}, {10, 52, 32, 0}}});
  mapping = MapTexelsOneToOne(across, 64, 32);
  ASSERT_TRUE(mapping);
  part = mapping->Corners({0, 4, 1, 5}, 64, 32);
  EXPECT_EQ(part[0].x, 14);
  EXPECT_EQ(part[0].y, 20);

  // A strip frame of a texture 224 texels wide: 32 / 224 as a float comes back a few
  // millionths off a whole texel, and is still one to one.
  TexturedQuad frame;
  const float edges[4][4] = {{0, 0, 32, 0}, {32, 0, 64, 0}, {32, 32, 64, 32}, {0, 32, 32, 32}};
  for (int i = 0; i < 4; ++i)
    frame.corners[i] = {edges[i][0], edges[i][1], edges[i][2] / 224, edges[i][3] / 64};
  mapping = MapTexelsOneToOne(frame, 224, 64);
  ASSERT_TRUE(mapping);
  EXPECT_EQ(mapping->texels, (TexelRect{32, 0, 64, 32}));
}

TEST(TexelMapping, ScaledInsetSkewedAndFractionalQuadsDoNot) {
  // clang-format off
  const std::array<std::array<float, 4>, 4> quads[] = {
      {{{0, 0, 0, 0}, {64, 0, 32, 0}, {64, 64, 32, 32}, {0, 64, 0, 32}}},  // twice the size
      {{{0, 0, 0.5f, 0.5f}, {31, 0, 31.5f, 0.5f}, {31, 31, 31.5f, 31.5f}, {0, 31, 0.5f, 31.5f}}},  // inset by half a texel
      {{{0.5f, 0, 0, 0}, {32.5f, 0, 32, 0}, {32.5f, 32, 32, 32}, {0.5f, 32, 0, 32}}},  // half a pixel off
      {{{0, 0, 0, 0}, {32, 0, 32, 0}, {32, 32, 32, 0}, {0, 32, 0, 0}}},  // texture running diagonally
      {{{0, 0, 0, 0}, {32, 0, 32, 0}, {40, 32, 32, 32}, {0, 32, 0, 32}}}};  // not a rectangle
  // clang-format on
  for (const auto& corners : quads)
    EXPECT_FALSE(MapTexelsOneToOne(Quad(corners), 64, 32)) << corners[2][0];
}

// Every texel of `rect` in exactly one piece.
void ExpectTiled(const std::vector<CoverPiece>& pieces, const TexelRect& rect) {
  std::vector<int> hits(static_cast<size_t>((rect.right - rect.left) * (rect.top - rect.bottom)));
  for (const CoverPiece& piece : pieces) {
    for (long t = piece.texels.bottom; t < piece.texels.top; ++t) {
      for (long s = piece.texels.left; s < piece.texels.right; ++s)
        ++hits[static_cast<size_t>((t - rect.bottom) * (rect.right - rect.left) + s - rect.left)];
    }
  }
  for (int h : hits)
    ASSERT_EQ(h, 1);
}

TEST(AlphaCoverage, AFrameAroundAHoleIsCutIntoSolidSidesAndAClearMiddle) {
  // 64 x 48: opaque, a clear hole at columns 16..47 of rows 16..31, one half-transparent texel.
  std::vector<uint8_t> rgba(64 * 48 * 4, 255);
  for (int t = 16; t < 32; ++t) {
    for (int s = 16; s < 48; ++s)
      rgba[(t * 64 + s) * 4 + 3] = 0;
  }
  rgba[(40 * 64 + 60) * 4 + 3] = 128;
  AlphaCoverage coverage(64, 48, rgba.data());
  const TexelRect whole{0, 0, 64, 48};
  const std::vector<CoverPiece>* pieces = coverage.Split(whole);
  ASSERT_NE(pieces, nullptr);
  ExpectTiled(*pieces, whole);
  // Rows 0..15 one solid piece; 16..31 solid, clear, solid; 32..47 solid then mixed.
  ASSERT_EQ(pieces->size(), 6u);
  EXPECT_EQ((*pieces)[0].texels, (TexelRect{0, 0, 64, 16}));
  EXPECT_EQ((*pieces)[0].cover, Cover::kSolid);
  EXPECT_EQ((*pieces)[2].texels, (TexelRect{16, 16, 48, 32}));
  EXPECT_EQ((*pieces)[2].cover, Cover::kClear);
  EXPECT_EQ((*pieces)[5].texels, (TexelRect{48, 32, 64, 48}));
  EXPECT_EQ((*pieces)[5].cover, Cover::kMixed);

  // A rectangle off the grid, and the same answer when asked again.
  const TexelRect part{5, 3, 50, 41};
  pieces = coverage.Split(part);
  ASSERT_NE(pieces, nullptr);
  ExpectTiled(*pieces, part);
  const std::vector<CoverPiece> first = *pieces;
  EXPECT_EQ(coverage.Split(part)->size(), first.size());

  EXPECT_EQ(coverage.Split({0, 0, 65, 48}), nullptr);  // reaches outside
  EXPECT_EQ(coverage.Split({-1, 0, 10, 10}), nullptr);
  EXPECT_EQ(coverage.Split({10, 10, 10, 20}), nullptr);  // empty
  EXPECT_EQ(AlphaCoverage().Split(whole), nullptr);
}

// Colour bled into transparent texels, so that filtering at a sprite's edges blends toward its
// own colours: the loader's quick search against one that looks everywhere.
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

// One channel of the picture at a point, in picture pixels, as GL's linear filter gives it:
// the four pixels about it weighted by distance, the edges clamped.
double Linear(const std::vector<uint32_t>& pixels, int width, int height, double u, double v,
              int shift) {
  const auto at = [&](int x, int y) {
    x = std::clamp(x, 0, width - 1), y = std::clamp(y, 0, height - 1);
    return static_cast<double>(pixels[static_cast<size_t>(y * width + x)] >> shift & 0xFF);
  };
  const int x = static_cast<int>(std::floor(u - 0.5)), y = static_cast<int>(std::floor(v - 0.5));
  const double fx = u - 0.5 - x, fy = v - 0.5 - y;
  return (at(x, y) * (1 - fx) + at(x + 1, y) * fx) * (1 - fy) +
         (at(x, y + 1) * (1 - fx) + at(x + 1, y + 1) * fx) * fy;
}

// The CPU renderer's picture in a window surface where LayOutPicture puts it, rows from the
// top as GL puts them from the bottom: whole-scale blocks, the sharp scale of SharpTexel on
// each axis, linear below the picture's size; centred, black bars, the surface's channel order.
TEST(SurfacePresenter, PicturesLandAsLaidOutWithBlackBarsAndSharpOrSmoothWhereNotWhole) {
  std::vector<uint32_t> pixels(8 * 6);
  for (uint32_t i = 0; i < pixels.size(); ++i)  // bytes R G B A, neighbours far apart
    pixels[i] = 0xFF000000u | (i * 29 + 200) % 256 << 16 | (i * 101 + 7) % 256 << 8 | i * 53 % 256;
  const CpuPicture picture{pixels.data(), 8, 6};
  const struct {
    int width, height, redShift, blueShift;
    int x, y, boxWidth, boxHeight;  // where the picture lands, from the top left
    Scaling scaling;
  } cases[] = {{8, 6, 16, 0, 0, 0, 8, 6, Scaling::kWhole},
               {21, 13, 16, 0, 2, 1, 16, 12, Scaling::kWhole},  // the odd row on top, as GL
               {19, 30, 0, 16, 1, 9, 16, 12, Scaling::kWhole},
               {40, 20, 16, 0, 8, 1, 24, 18, Scaling::kWhole},
               {13, 10, 16, 0, 0, 1, 13, 9, Scaling::kSharp},  // 1.625 x 1.5
               {15, 11, 0, 16, 0, 0, 14, 11, Scaling::kSharp},
               {4, 3, 16, 0, 0, 0, 4, 3, Scaling::kSmooth},
               {5, 7, 16, 0, 0, 2, 5, 3, Scaling::kSmooth}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    const int pitch = c.width + 3;
    std::vector<uint32_t> surfacePixels(static_cast<size_t>(pitch) * c.height, 0xDEADBEEF);
    platform::SurfacePixels surface{surfacePixels.data(), c.width, c.height,    pitch,
                                    c.redShift,           8,       c.blueShift, true};
    SurfacePresenter presenter;
    presenter.Show(picture, surface);
    const double sx = c.boxWidth / 8.0, sy = c.boxHeight / 6.0;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        const uint32_t shown = surfacePixels[static_cast<size_t>(y) * pitch + x];
        const bool inside = x >= c.x && x < c.x + c.boxWidth && y >= c.y && y < c.y + c.boxHeight;
        if (!inside) {
          ASSERT_EQ(shown, 0u) << x << "," << y;
          continue;
        }
        double u = (x - c.x + 0.5) / sx, v = (y - c.y + 0.5) / sy;
        if (c.scaling == Scaling::kSharp) u = SharpTexel(u, sx), v = SharpTexel(v, sy);
        if (c.scaling == Scaling::kWhole) {
          const uint32_t p = pixels[static_cast<size_t>(int(v) * 8 + int(u))];
          ASSERT_EQ(shown,
                    (p & 0xFF) << c.redShift | (p & 0xFF00) | (p >> 16 & 0xFF) << c.blueShift)
              << x << "," << y;
          continue;
        }
        ASSERT_EQ(shown & ~(0xFFu << c.redShift | 0xFF00u | 0xFFu << c.blueShift), 0u);
        const int shifts[][2] = {{0, c.redShift}, {8, 8}, {16, c.blueShift}};
        for (const auto& [from, to] : shifts) {  // 8-bit weights: at most 1 from the exact mix
          ASSERT_NEAR(shown >> to & 0xFF, Linear(pixels, 8, 6, u, v, from), 1.0)
              << x << "," << y << " channel at " << from;
        }
      }
    }
  }
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

TEST(TextureImage, EachMipmapTexelIsTheRoundedMeanOfItsFourAndASideOfOneIsKept) {
  std::mt19937 random(11);
  TexturePixels base;
  base.width = 8;
  base.height = 2;
  base.rgba.resize(8 * 2 * 4);
  for (uint8_t& byte : base.rgba)
    byte = static_cast<uint8_t>(random());
  const std::vector<TexturePixels> levels = BuildMipmapLevels(base);
  ASSERT_EQ(levels.size(), 3u);  // 4 x 1, 2 x 1, 1 x 1
  const TexturePixels* previous = &base;
  for (const TexturePixels& level : levels) {
    ASSERT_EQ(level.width, previous->width / 2);
    ASSERT_EQ(level.height, 1);
    const int down = previous->height > 1 ? 1 : 0;
    for (int x = 0; x < level.width; ++x) {
      for (int i = 0; i < 4; ++i) {
        const int sum = previous->Texel(2 * x, 0)[i] + previous->Texel(2 * x + 1, 0)[i] +
                        previous->Texel(2 * x, down)[i] + previous->Texel(2 * x + 1, down)[i];
        ASSERT_EQ(level.Texel(x, 0)[i], (sum + 2) / 4) << level.width << " " << x << " " << i;
      }
    }
    previous = &level;
  }
}

}  // namespace
}  // namespace zrb::graphics
