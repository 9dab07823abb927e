// The pixel-exact collision test between frames, against a direct reading of the pictures.
#include <gtest/gtest.h>

#include <random>

#include "engine/graphics/draw.h"
#include "graphics_fixture.h"

namespace zrb::testing {
namespace {

constexpr Rgb kKey{255, 0, 128};  // the default transparent colour
constexpr Rgb kSolid{40, 200, 90};

class Collision : public HeadlessGraphicsTest {
 protected:
  void Load(int slot, const Picture& picture) {
    LoadSprite(SaveBmp("p" + std::to_string(slot) + ".bmp", picture), slot);
    ASSERT_EQ(RuntimeError().code, kErrorSuccess);
  }
};

// Against a direct reading of the pictures: random shapes at random offsets.
TEST_F(Collision, AgreesWithAPixelByPixelComparisonOfThePictures) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> coin(0, 9);
  std::uniform_int_distribution<int> offset(-28, 28);
  auto randomPicture = [&](int density) {
    Picture picture(32, 24, kKey);
    for (Rgb& pixel : picture.pixels) {
      if (coin(random) < density) pixel = kSolid;
    }
    return picture;
  };
  int hits = 0;
  for (int round = 0; round < 60; ++round) {
    const Picture a = randomPicture(1 + round % 3);
    const Picture b = randomPicture(1);
    Load(1, a);
    Load(2, b);
    const int dx = offset(random), dy = offset(random);
    bool expected = false;
    for (int y = 0; y < 24 && !expected; ++y) {
      for (int x = 0; x < 32 && !expected; ++x) {
        const int bx = x - dx, by = y - dy;
        expected = a.At(x, y) == kSolid && bx >= 0 && bx < 32 && by >= 0 && by < 24 &&
                   b.At(bx, by) == kSolid;
      }
    }
    hits += expected;
    EXPECT_EQ(AnimCollision(1, 0, 50, 60, 2, 0, 50 + dx, 60 + dy), expected ? 1 : 0)
        << "round " << round << " offset " << dx << "," << dy;
  }
  EXPECT_GT(hits, 5);  // both answers were exercised
  EXPECT_LT(hits, 55);
}

}  // namespace
}  // namespace zrb::testing
