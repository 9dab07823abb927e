// The picture's place on a screen or in a window, and the sharp scale's sampling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "engine/platform/picture_layout.h"

namespace zrb::platform {
namespace {

TEST(PictureLayout, WholeMultiplesWhereTheyFillMostElseTheSharpFittedSize) {
  const struct {
    int width, height;
    Letterbox box;
  } cases[] = {
      {640, 480, {0, 0, 640, 480, true, Scaling::kWhole}},
      {1920, 1080, {320, 60, 1280, 960, true, Scaling::kWhole}},
      {1280, 1024, {0, 32, 1280, 960, true, Scaling::kWhole}},
      {2560, 1440, {320, 0, 1920, 1440, true, Scaling::kWhole}},
      {3840, 2160, {640, 120, 2560, 1920, true, Scaling::kWhole}},
      {800, 600, {80, 60, 640, 480, true, Scaling::kWhole}},  // 480 of 600 rows
      // Only 1 x is whole and would leave most of the screen black.
      {1366, 768, {171, 0, 1024, 768, false, Scaling::kSharp}},
      {1280, 800, {107, 0, 1066, 800, false, Scaling::kSharp}},
      {1024, 768, {0, 0, 1024, 768, false, Scaling::kSharp}},
      {1080, 1920, {0, 555, 1080, 810, false, Scaling::kSharp}},  // a screen turned upright
      {320, 240, {0, 0, 320, 240, false, Scaling::kSmooth}},
      {0, 480, {0, 0, 0, 0, false, Scaling::kSmooth}},
  };
  const auto fields = [](const Letterbox& b) {
    return std::tuple(b.x, b.y, b.width, b.height, b.wholeScale, static_cast<int>(b.scaling));
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fields(LayOutPicture(640, 480, c.width, c.height)), fields(c.box))
        << c.width << "x" << c.height;
  }
}

// Sampled linearly at SharpTexel's coordinate, a screen pixel gets of the next picture pixel
// exactly the part of its own area that lies across the border: inside a picture pixel it is
// that pixel's colour, only the screen pixel on a border mixes, and whole scales mix none.
TEST(PictureLayout, TheSharpScaleMixesOnlyTheScreenPixelOnABorderByItsAreaAcross) {
  for (const double scale : {1.0, 1.4, 1.6, 768.0 / 480, 2.0, 2.5, 3.0}) {
    SCOPED_TRACE(scale);
    for (int pixel = 0; pixel < static_cast<int>(64 * scale); ++pixel) {
      // From the centre of picture pixel 0: whole numbers are picture pixels' own colours.
      const double sampled = SharpTexel((pixel + 0.5) / scale, scale) - 0.5;
      const double own = std::floor(pixel / scale);  // the picture pixel under its left edge
      const double across = std::clamp(pixel + 1 - (own + 1) * scale, 0.0, 1.0);
      EXPECT_NEAR(sampled, own + across, 1e-9) << pixel;
    }
  }
}

}  // namespace
}  // namespace zrb::platform
