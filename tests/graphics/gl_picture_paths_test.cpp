// Real mode: the picture is the same whichever way the GL renderer gets it there. A scene
// with keyed holes, partly transparent texels, strips, every alpha mode, rotation and
// rectangles is drawn the plain way (offscreen picture, linear filtering, alpha test on
// every opaque-mode quad) and the fast ways (straight into a window of the picture's size,
// nearest filtering at texel centres, transparent parts left out, opaque parts untested),
// and the pixels are compared exactly. A window of another shape keeps black bars.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

#include "engine/graphics/draw.h"
#include "engine/graphics/gl_renderer.h"
#include "engine/graphics/graphics_context.h"
#include "engine/graphics/graphics_system.h"
#include "engine/graphics/sprites.h"
#include "engine/platform/clock.h"
#include "engine/platform/window.h"
#include "engine/values/runtime_error.h"
#include "test_images.h"

namespace zrb::testing {
namespace {

constexpr Rgb kKey{255, 0, 128};

// Colours that differ from pixel to pixel, so a texel shown one place off is seen.
Rgb Varied(int x, int y, int salt) {
  return {uint8_t(x * 7 + y * 3 + salt), uint8_t(x * 5 + y * 11 + 2 * salt),
          uint8_t(x * 13 + y * 2 + 3 * salt)};
}

class GlPicturePaths : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (the suite runs under xvfb-run)";
    platform::SetHeadless(false);
    platform::WindowConfig config;
    config.title = "picture paths test";
    ASSERT_TRUE(platform::OpenWindow(config)) << platform::WindowError();
    ASSERT_TRUE(graphics::InitGraphics(/*headless=*/false, 640, 480));
  }

  void TearDown() override {
    graphics::ShutdownGraphics();
    platform::CloseWindow();
  }

  void Use(const graphics::GlRendererOptions& options) {
    auto renderer = graphics::CreateGlRenderer(640, 480, options);
    ASSERT_NE(renderer, nullptr);
    graphics::InstallRenderer(std::move(renderer), false, 640, 480);
    SetTransparentColour(graphics::kDefaultTransparentColour);
  }

  void Load(int slot, const Picture& picture, int frameWidth = 0, int frameHeight = 0) {
    const std::string path = folder_.Path("p" + std::to_string(slot) + ".bmp");
    WriteFile(path, EncodeBmp(picture));
    LoadAnim(path, slot, frameWidth, frameHeight);
    ASSERT_EQ(RuntimeError().code, kErrorSuccess);
  }

  void LoadImages() {
    // A frame around a transparent hole with a few keyed specks on the rim, larger than
    // one cell of the coverage grid and not a power of two.
    Picture frame(200, 150);
    for (int y = 0; y < 150; ++y) {
      for (int x = 0; x < 200; ++x) {
        const bool hole = x >= 24 && x < 176 && y >= 20 && y < 130;
        const bool speck = (x * 31 + y * 17) % 97 == 0;
        frame.At(x, y) = hole || speck ? kKey : Varied(x, y, 1);
      }
    }
    Load(1, frame);
    // A strip of two 32 x 32 frames with keyed corners.
    Picture strip(64, 32);
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 64; ++x)
        strip.At(x, y) = (x % 32) + y < 6 ? kKey : Varied(x, y, 2);
    }
    Load(2, strip, 32, 32);
    // Texels of every kind of alpha; none of 0 in the left half.
    PngContent content{.width = 40, .height = 20, .colourType = PNG_COLOR_TYPE_RGBA};
    for (int i = 0; i < 40 * 20; ++i) {
      const uint16_t alpha[] = {0, 10, 13, 128, 254, 255, 255, 0};
      const uint16_t a = i % 40 < 20 ? alpha[i % 6 + 1] : alpha[i % 8];
      content.samples.insert(content.samples.end(),
                             {uint16_t(i * 3 % 256), uint16_t(i * 7 % 256), 200, a});
    }
    const std::string png = folder_.Path("p3.png");
    WriteFile(png, EncodePng(content));
    LoadSprite(png, 3);
    ASSERT_EQ(RuntimeError().code, kErrorSuccess);
  }

  void DrawScene() {
    ClearScreen(0x203040);
    DrawRect(0, 0, 640, 480, 0x102030);
    for (int i = 0; i < 12; ++i)
      DrawAnim(2, i % 2, 40 + 32 * i, 60);
    DrawSprite(1, 30, 40);  // over the row of frames
    const double modes[] = {0, 0.5, -0.5, -1, 0.2};
    for (int i = 0; i < 5; ++i) {
      SetAlphaMode(modes[i]);
      DrawSprite(1, 250 + 40 * i, 20 + 60 * i);
      DrawSprite(3, 20 + 45 * i, 300);
      DrawAnim(2, 1, 200 + 36 * i, 420);
    }
    SetAlphaMode(0);
    // Partly outside the picture on every side.
    DrawSprite(1, -50, 400);
    DrawSprite(1, 560, -60);
    DrawAnim(2, 0, 625, 200);
    DrawAnim(2, 1, 100, 470);
    RotoZoomAnim(2, 0, 120, 220, 0, 1);
    RotoZoomAnim(2, 1, 170, 220, 90, 1);
    RotoZoomAnim(2, 1, 220, 220, 33, 1.7);
    SetAlphaMode(-0.5);
    DrawRect(10, 200, 50, 30, 0xFF8000);
    SetAlphaMode(0);
    DrawRect(300, 300, 7, 9, 0x00FF00);
  }

  // The scene's picture, red, green and blue of each pixel, top row first.
  std::vector<uint8_t> Scene(const graphics::GlRendererOptions& options) {
    Use(options);
    LoadImages();
    DrawScene();
    std::vector<uint8_t> rgba;
    int width = 0, height = 0;
    EXPECT_TRUE(graphics::Graphics().renderer->ReadPicture(rgba, width, height));
    std::vector<uint8_t> rgb;
    for (size_t i = 0; i + 3 < rgba.size(); i += 4)
      rgb.insert(rgb.end(), {rgba[i], rgba[i + 1], rgba[i + 2]});
    return rgb;
  }

  static void ExpectSamePixels(const std::vector<uint8_t>& expected,
                               const std::vector<uint8_t>& actual) {
    ASSERT_EQ(actual.size(), expected.size());
    size_t differing = 0, first = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
      if (expected[i] != actual[i] && differing++ == 0) first = i;
    }
    EXPECT_EQ(differing, 0u) << "first at pixel " << (first / 3) % 640 << "," << first / 3 / 640
                             << ": " << int(expected[first]) << " became " << int(actual[first]);
  }

  static graphics::GlRendererOptions Plain() {
    graphics::GlRendererOptions plain;
    plain.target = graphics::PictureTarget::kOffscreen;
    plain.nearestWhereExact = false;
    plain.splitByCoverage = false;
    return plain;
  }

  TempFolder folder_;
};

TEST_F(GlPicturePaths, TheFastWaysGiveThePlainPictureExactly) {
  const std::vector<uint8_t> plain = Scene(Plain());
  // The scene shows something of each image.
  ASSERT_EQ(plain.size(), 640u * 480 * 3);
  EXPECT_NE(plain[(45 * 640 + 35) * 3], plain[(45 * 640 + 100) * 3]);

  graphics::GlRendererOptions offscreen;  // every shortcut, in the offscreen picture
  offscreen.target = graphics::PictureTarget::kOffscreen;
  ExpectSamePixels(plain, Scene(offscreen));

  // The window is the picture's size: drawn straight in until the first rotated quad.
  ExpectSamePixels(plain, Scene({}));
}

}  // namespace
}  // namespace zrb::testing
