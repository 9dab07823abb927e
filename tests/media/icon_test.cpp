// The program's icon at every size: centred, whole multiples of the art pixel for pixel where
// they fill the square, and averaged sizes that keep a margin and lend no colour from the
// transparent surroundings to the edge.
#include "tools/mediagen/icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace mediagen {
namespace {

constexpr Rgba kRed{200, 0, 0, 255};
constexpr Rgba kBlue{0, 0, 200, 255};

// A sprite frame's shape: a 12 x 29 figure at (10, 1) of a 32 x 32 frame, red with one blue
// eye. Sizes 16, 22, 24 and 48 hold no whole multiple of it that fills them; the rest do.
constexpr int kLeft = 10, kTop = 1, kWidth = 12, kHeight = 29;
Image Art() {
  Image art(32, 32);
  art.FillRect(kLeft, kTop, kWidth, kHeight, kRed);
  art.Set(13, 5, kBlue);
  return art;
}

struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
};

Box PaintedBox(const Image& image) {
  Box box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.at(x, y).a != 0) {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
  return box;
}

TEST(Icon, EverySizeIsCentredAndAsSharpAsItAllows) {
  const Image art = Art();
  for (int size : kIconSizes) {
    SCOPED_TRACE(size);
    const Image icon = RenderIcon(art, size);
    ASSERT_EQ(icon.width(), size);
    ASSERT_EQ(icon.height(), size);
    const Box box = PaintedBox(icon);
    ASSERT_GE(box.right, 0);
    EXPECT_LE(std::abs(box.left - (size - 1 - box.right)), 1);
    EXPECT_LE(std::abs(box.top - (size - 1 - box.bottom)), 1);
    const int whole = size / kHeight;
    const bool averaged = size == 16 || size == 22 || size == 24 || size == 48;
    if (!averaged) {
      // Pixel for pixel: each art pixel a whole x whole block.
      EXPECT_EQ(box.bottom - box.top + 1, kHeight * whole);
      EXPECT_EQ(box.right - box.left + 1, kWidth * whole);
      for (int y = box.top; y <= box.bottom; ++y)
        for (int x = box.left; x <= box.right; ++x)
          ASSERT_EQ(icon.at(x, y),
                    art.at(kLeft + (x - box.left) / whole, kTop + (y - box.top) / whole))
              << x << "," << y;
    } else {
      const int margin = std::max(1, size / 16);
      EXPECT_GE(box.top, margin);
      EXPECT_LE(box.bottom, size - 1 - margin);
      EXPECT_GE(box.bottom - box.top + 1, size - 2 * margin - 1);  // fills the rest
      for (const Rgba& c : icon.pixels()) {
        if (c.a == 0) continue;
        // Only red, blue and their mixes: no black from the transparent pixels around.
        EXPECT_EQ(c.g, 0);
        EXPECT_NEAR(c.r + c.b, 200, 1) << int(c.r) << " " << int(c.b);
      }
    }
  }
}

TEST(Icon, ArtWithoutPaintIsRefused) {
  EXPECT_THROW(RenderIcon(Image(8, 8), 32), std::runtime_error);
}

}  // namespace
}  // namespace mediagen
