// JPEG through libjpeg: colour and grey, progressive, opaque whatever the key, and damaged
// files refused instead of patched up.
#include "engine/graphics/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/graphics/image_decoder.h"
#include "test_images.h"

namespace zrb::graphics {
namespace {

using testing::EncodeJpeg;

// 32 x 16: the left 16 x 16 block red, the right one blue (whole blocks survive chroma
// subsampling nearly unchanged).
std::vector<uint8_t> RedBlueSamples() {
  std::vector<uint8_t> samples;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x) {
      samples.push_back(x < 16 ? 250 : 0);
      samples.push_back(0);
      samples.push_back(x < 16 ? 0 : 250);
    }
  }
  return samples;
}

void ExpectNear(const DecodedImage& image, int x, int y, int r, int g, int b) {
  const uint8_t* p = image.Row(y) + x * 4;
  EXPECT_LE(std::abs(p[0] - r), 6) << x << "," << y;
  EXPECT_LE(std::abs(p[1] - g), 6) << x << "," << y;
  EXPECT_LE(std::abs(p[2] - b), 6) << x << "," << y;
  EXPECT_EQ(p[3], 255);
}

TEST(JpegDecoder, ColourAndGreyBaselineAndProgressive) {
  for (bool progressive : {false, true}) {
    DecodedImage image;
    ASSERT_TRUE(DecodeJpeg(EncodeJpeg(32, 16, 3, RedBlueSamples(), progressive), image));
    ASSERT_EQ(image.width, 32);
    ASSERT_EQ(image.height, 16);
    ExpectNear(image, 6, 8, 250, 0, 0);
    ExpectNear(image, 25, 8, 0, 0, 250);
  }
  std::vector<uint8_t> grey(8 * 8);
  for (size_t i = 0; i < grey.size(); ++i)
    grey[i] = i < 32 ? 40 : 200;
  DecodedImage image;
  ASSERT_TRUE(DecodeJpeg(EncodeJpeg(8, 8, 1, grey), image));
  ExpectNear(image, 3, 1, 40, 40, 40);
  ExpectNear(image, 3, 6, 200, 200, 200);
}

TEST(JpegDecoder, TheColourKeyDoesNotApply) {
  DecodedImage image;
  ASSERT_TRUE(DecodeImage(EncodeJpeg(8, 8, 1, std::vector<uint8_t>(64, 0)), Rgb{0, 0, 0},
                          "black.jpg", image));
  for (size_t i = 3; i < image.rgba.size(); i += 4)
    ASSERT_EQ(image.rgba[i], 255);
  EXPECT_EQ(image.rgba[0], 0);
}

TEST(JpegDecoder, DamagedAndHostileFilesFail) {
  const std::vector<uint8_t> good = EncodeJpeg(32, 16, 3, RedBlueSamples());
  DecodedImage image;
  ASSERT_TRUE(DecodeJpeg(good, image));

  // The frame header (FF C0) holds height and width, two big-endian bytes each.
  size_t frame = 0;
  for (size_t i = 2; i + 1 < good.size(); ++i) {
    if (good[i] == 0xFF && good[i + 1] == 0xC0) {
      frame = i;
      break;
    }
  }
  ASSERT_NE(frame, 0u);
  auto withSize = [&](int width, int height) {
    std::vector<uint8_t> bytes = good;
    bytes[frame + 5] = height >> 8;
    bytes[frame + 6] = height & 0xFF;
    bytes[frame + 7] = width >> 8;
    bytes[frame + 8] = width & 0xFF;
    return bytes;
  };
  std::vector<uint8_t> scrambledTables = good;
  for (size_t i = 4; i < 40; ++i)
    scrambledTables[i] = 0xFF;

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"start marker only", {0xFF, 0xD8, 0xFF}},
      {"cut in half", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2)},
      {"end marker missing", std::vector<uint8_t>(good.begin(), good.end() - 2)},
      {"tables scrambled", scrambledTables},
      {"huge declared size", withSize(60000, 60000)},
      {"more rows than the data holds", withSize(32, 4000)},
      {"zero width", withSize(0, 16)},
  };
  for (const Case& c : cases)
    EXPECT_FALSE(DecodeJpeg(c.bytes, image)) << c.what;
}

}  // namespace
}  // namespace zrb::graphics
