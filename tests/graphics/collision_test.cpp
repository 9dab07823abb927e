// The pixel-exact collision test between strip frames.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "engine/graphics/draw.h"
#include "graphics_fixture.h"

namespace zrb::testing {
namespace {

constexpr Rgb kKey{255, 0, 128};  // the default transparent colour
constexpr Rgb kSolid{40, 200, 90};

class Collision : public HeadlessGraphicsTest {
 protected:
  void Load(int slot, const Picture& picture, int frameWidth = 0, int frameHeight = 0) {
    const std::string path = SaveBmp("p" + std::to_string(slot) + ".bmp", picture);
    if (frameWidth) {
      LoadAnim(path, slot, frameWidth, frameHeight);
    } else {
      LoadSprite(path, slot);
    }
    ASSERT_EQ(RuntimeError().code, kErrorSuccess);
  }
};

TEST_F(Collision, StripFramesAreCutOutOfTheImage) {
  // Two rows of two 16 x 16 frames; only frame 2 (row 1, column 0) is solid.
  Picture strip(32, 32, kKey);
  for (int y = 16; y < 32; ++y) {
    for (int x = 0; x < 16; ++x)
      strip.At(x, y) = kSolid;
  }
  Load(1, strip, 16, 16);
  Load(2, Picture(4, 4, kSolid));
  for (int frame = 0; frame < 4; ++frame) {
    EXPECT_EQ(AnimCollision(1, frame, 100, 100, 2, 0, 106, 106), frame == 2 ? 1 : 0) << frame;
  }
  // The frame rectangle is 16 x 16 at (100, 100): outside it nothing of the strip counts.
  EXPECT_EQ(AnimCollision(1, 2, 100, 100, 2, 0, 116, 100), 0);
  // Frames past the end of the strip, and negative ones, find nothing solid.
  EXPECT_EQ(AnimCollision(1, 4, 100, 100, 2, 0, 106, 106), 0);
  EXPECT_EQ(AnimCollision(1, 1000000, 100, 100, 2, 0, 106, 106), 0);
  EXPECT_EQ(AnimCollision(1, -3, 100, 100, 2, 0, 106, 106), 0);
}

TEST_F(Collision, EmptySlotsAndExtremePositionsAnswerZero) {
  Load(1, Picture(32, 32, kSolid));
  EXPECT_EQ(AnimCollision(1, 0, 0, 0, 5, 0, 0, 0), 0);
  EXPECT_EQ(AnimCollision(-1, 0, 0, 0, 1, 0, 0, 0), 0);
  EXPECT_EQ(AnimCollision(1, 0, INT_MAX, INT_MAX, 1, 0, INT_MAX - 5, INT_MAX - 5), 1);
  EXPECT_EQ(AnimCollision(1, 0, INT_MIN, INT_MIN, 1, 0, INT_MAX, INT_MAX), 0);
}

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
