// Randomly damaged files of every kind go through the whole decoder chain: each either
// decodes to a sane picture or is refused, and nothing crashes, hangs or exits.
#include <gtest/gtest.h>
#include <png.h>

#include <random>

#include "engine/graphics/image_decoder.h"
#include "test_images.h"

namespace zrb::graphics {
namespace {

TEST(DamagedImages, FlippedAndCutBytesNeverCrashTheDecoders) {
  using namespace zrb::testing;
  Picture picture(13, 7, {30, 60, 90});
  std::vector<uint8_t> indexes(13 * 7, 1);
  PngContent png{.width = 13, .height = 7, .colourType = PNG_COLOR_TYPE_PALETTE, .bitDepth = 4};
  png.palette = {{1, 2, 3}, {4, 5, 6}};
  png.samples.assign(13 * 7, 1);
  const std::vector<std::vector<uint8_t>> originals = {
      EncodeBmp(picture),
      EncodeBmp(picture, {.bitCount = 4, .palette = {{0, 0, 0}, {9, 9, 9}}, .indexes = indexes}),
      EncodePng(png),
      EncodeJpeg(13, 7, 3, std::vector<uint8_t>(13 * 7 * 3, 100)),
  };
  std::mt19937 random(2024);
  int decoded = 0, refused = 0;
  ::testing::internal::CaptureStdout();  // unsupported PNG kinds say so; not our concern here
  for (const std::vector<uint8_t>& original : originals) {
    for (int round = 0; round < 150; ++round) {
      std::vector<uint8_t> bytes = original;
      const int flips = 1 + static_cast<int>(random() % 6);
      for (int i = 0; i < flips; ++i)
        bytes[random() % bytes.size()] ^= 1u << (random() % 8);
      if (round % 3 == 0) bytes.resize(random() % bytes.size());
      DecodedImage image;
      if (DecodeImage(bytes, Rgb{0, 0, 0}, "damaged", image)) {
        ++decoded;
        ASSERT_TRUE(ImageSizeAllowed(image.width, image.height));
        ASSERT_EQ(image.rgba.size(), size_t(image.width) * image.height * 4);
      } else {
        ++refused;
      }
    }
  }
  ::testing::internal::GetCapturedStdout();
  EXPECT_GT(refused, 0);
  EXPECT_GT(decoded, 0);  // harmless flips (in pixel data) still decode
}

}  // namespace
}  // namespace zrb::graphics
