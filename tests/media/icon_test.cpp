// The program's icon at every size: centred, whole multiples of the art pixel for pixel where
// they fill the square, and averaged sizes that keep a margin and lend no colour from the
// transparent surroundings to the edge.
#include "tools/mediagen/icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace mediagen {
namespace {

TEST(Icon, EverySizeIsCentredAndAsSharpAsItAllows) {
  // A sprite frame's shape: a 12 x 29 figure at (10, 1) of a 32 x 32 frame, red with one blue
  // eye. Sizes 16, 22, 24 and 48 hold no whole multiple of it that fills them; the rest do.
  Image art(32, 32);
  art.FillRect(10, 1, 12, 29, {200, 0, 0, 255});
  art.Set(13, 5, {0, 0, 200, 255});
  for (int size : kIconSizes) {
    SCOPED_TRACE(size);
    const Image icon = RenderIcon(art, size);
    ASSERT_EQ(icon.width(), size);
    ASSERT_EQ(icon.height(), size);
    int left = size, top = size, right = -1, bottom = -1;  // the painted box
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const Rgba c = icon.at(x, y);
        if (c.a == 0) continue;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
        // Only red, blue and their mixes: no black from the transparent pixels around.
        EXPECT_EQ(c.g, 0);
        EXPECT_NEAR(c.r + c.b, 200, 1) << int(c.r) << " " << int(c.b);
      }
    }
    EXPECT_LE(std::abs(left - (size - 1 - right)), 1);
    EXPECT_LE(std::abs(top - (size - 1 - bottom)), 1);
    const int whole = size / 29, margin = std::max(1, size / 16);
    if (size == 16 || size == 22 || size == 24 || size == 48) {
      EXPECT_GE(top, margin);
      EXPECT_LE(bottom, size - 1 - margin);
      EXPECT_GE(bottom - top + 1, size - 2 * margin - 1);  // fills the rest
      continue;
    }
    // Pixel for pixel: each art pixel a whole x whole block.
    EXPECT_EQ(bottom - top + 1, 29 * whole);
    EXPECT_EQ(right - left + 1, 12 * whole);
    for (int y = top; y <= bottom; ++y)
      for (int x = left; x <= right; ++x)
        ASSERT_EQ(icon.at(x, y), art.at(10 + (x - left) / whole, 1 + (y - top) / whole))
            << x << "," << y;
  }
  EXPECT_THROW(RenderIcon(Image(8, 8), 32), std::runtime_error);  // art without paint
}

// The Windows icon file: its directory names each picture's side (256 as 0), 32 bits, and
// where its PNG stream lies; a side the format cannot name is left out.
TEST(Icon, TheIconFileListsEachPictureWhereItLies) {
  const std::vector<std::vector<uint8_t>> pngs = {{1, 2, 3}, {4, 5}, {6}, {7, 8, 9, 10}};
  const std::vector<uint8_t> file = IconFile(pngs, {16, 256, 512, 48});
  const auto at16 = [&](size_t i) { return file[i] | file[i + 1] << 8; };
  const auto at32 = [&](size_t i) { return at16(i) | at16(i + 2) << 16; };
  ASSERT_EQ(file.size(), 6 + 3 * 16 + 3 + 2 + 4u);
  EXPECT_EQ(at16(0), 0);
  EXPECT_EQ(at16(2), 1);  // an icon
  EXPECT_EQ(at16(4), 3);  // 512 left out
  const struct {
    int side;
    size_t bytes, offset;
    uint8_t first;
  } kept[] = {{16, 3, 54, 1}, {0, 2, 57, 4}, {48, 4, 59, 7}};
  for (size_t i = 0; i < 3; ++i) {
    const size_t entry = 6 + 16 * i;
    EXPECT_EQ(file[entry], kept[i].side);
    EXPECT_EQ(file[entry + 1], kept[i].side);
    EXPECT_EQ(at16(entry + 6), 32);
    EXPECT_EQ(static_cast<size_t>(at32(entry + 8)), kept[i].bytes);
    EXPECT_EQ(static_cast<size_t>(at32(entry + 12)), kept[i].offset);
    EXPECT_EQ(file[kept[i].offset], kept[i].first);
  }
}

}  // namespace
}  // namespace mediagen
