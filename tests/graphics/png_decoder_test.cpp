// PNG through libpng: which kinds load, how the colour key applies, what is refused and
// what is said about it, and files that libpng itself rejects.
#include "engine/graphics/png_decoder.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include "test_images.h"

namespace zrb::graphics {
namespace {

using testing::EncodePng;
using testing::PngContent;

constexpr Rgb kKey{255, 0, 128};

std::vector<uint8_t> Pixel(const DecodedImage& image, int x, int y) {
  const uint8_t* p = image.Row(y) + x * 4;
  return {p[0], p[1], p[2], p[3]};
}

bool Decode(const std::vector<uint8_t>& bytes, DecodedImage& image, std::string* said = nullptr) {
  ::testing::internal::CaptureStdout();
  bool ok = DecodePng(bytes, kKey, "pic.png", image);
  std::string out = ::testing::internal::GetCapturedStdout();
  if (said) *said = out;
  return ok;
}

TEST(PngDecoder, RgbaKeepsItsOwnAlphaWhateverTheKey) {
  PngContent content{.width = 2, .height = 1, .colourType = PNG_COLOR_TYPE_RGBA};
  content.samples = {255, 0, 128, 255, /**/ 10, 20, 30, 77};
  DecodedImage image;
  ASSERT_TRUE(Decode(EncodePng(content), image));
  EXPECT_EQ(Pixel(image, 0, 0), (std::vector<uint8_t>{255, 0, 128, 255}));
  EXPECT_EQ(Pixel(image, 1, 0), (std::vector<uint8_t>{10, 20, 30, 77}));
}

TEST(PngDecoder, RgbIsOpaqueExceptTheKeyColour) {
  PngContent content{.width = 2, .height = 2, .colourType = PNG_COLOR_TYPE_RGB, .interlaced = true};
  content.samples = {255, 0, 128, 1, 2, 3, /**/ 4, 5, 6, 255, 0, 127};
  DecodedImage image;
  ASSERT_TRUE(Decode(EncodePng(content), image));
  EXPECT_EQ(Pixel(image, 0, 0), (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(Pixel(image, 1, 0), (std::vector<uint8_t>{1, 2, 3, 255}));
  EXPECT_EQ(Pixel(image, 0, 1), (std::vector<uint8_t>{4, 5, 6, 255}));
  EXPECT_EQ(Pixel(image, 1, 1), (std::vector<uint8_t>{255, 0, 127, 255}));
}

TEST(PngDecoder, GreyPaletteLowDepthAndSixteenBitAreExpandedToEightBits) {
  DecodedImage image;

  PngContent grey{.width = 3, .height = 1, .colourType = PNG_COLOR_TYPE_GRAY, .bitDepth = 2};
  grey.samples = {0, 1, 3};
  ASSERT_TRUE(Decode(EncodePng(grey), image));
  EXPECT_EQ(Pixel(image, 1, 0), (std::vector<uint8_t>{85, 85, 85, 255}));
  EXPECT_EQ(Pixel(image, 2, 0), (std::vector<uint8_t>{255, 255, 255, 255}));

  PngContent palette{.width = 3, .height = 1, .colourType = PNG_COLOR_TYPE_PALETTE, .bitDepth = 4};
  palette.palette = {{9, 8, 7}, {255, 0, 128}, {1, 1, 1}};
  palette.paletteAlpha = {255, 255, 40};
  palette.samples = {0, 1, 2};
  ASSERT_TRUE(Decode(EncodePng(palette), image));
  // With a transparency chunk the picture is RGBA, and RGBA ignores the key.
  EXPECT_EQ(Pixel(image, 0, 0), (std::vector<uint8_t>{9, 8, 7, 255}));
  EXPECT_EQ(Pixel(image, 1, 0), (std::vector<uint8_t>{255, 0, 128, 255}));
  EXPECT_EQ(Pixel(image, 2, 0), (std::vector<uint8_t>{1, 1, 1, 40}));

  PngContent deep{.width = 1, .height = 1, .colourType = PNG_COLOR_TYPE_RGB, .bitDepth = 16};
  deep.samples = {65535, 0, 0x8180};
  ASSERT_TRUE(Decode(EncodePng(deep), image));
  EXPECT_EQ(Pixel(image, 0, 0), (std::vector<uint8_t>{255, 0, 129, 255}));
}

// Rewrites the CRC of the chunk whose data starts at `dataAt` after the data was changed.
void FixCrc(std::vector<uint8_t>& bytes, size_t dataAt, size_t length) {
  uLong crc = crc32(0, bytes.data() + dataAt - 4, static_cast<uInt>(length + 4));
  for (int i = 0; i < 4; ++i)
    bytes[dataAt + length + i] = (crc >> (24 - 8 * i)) & 0xFF;
}

TEST(PngDecoder, DamagedAndHostileFilesFailQuietly) {
  PngContent content{.width = 40, .height = 30, .colourType = PNG_COLOR_TYPE_RGB};
  for (int i = 0; i < 40 * 30 * 3; ++i)
    content.samples.push_back(static_cast<uint16_t>(i * 7 % 256));
  const std::vector<uint8_t> good = EncodePng(content);
  DecodedImage image;
  ASSERT_TRUE(Decode(good, image));

  // IHDR data sits at bytes 16..28: width, height, depth, colour type, ...
  auto withHeader = [&](uint32_t width, uint32_t height, uint8_t depth, uint8_t type) {
    std::vector<uint8_t> bytes = good;
    for (int i = 0; i < 4; ++i) {
      bytes[16 + i] = (width >> (24 - 8 * i)) & 0xFF;
      bytes[20 + i] = (height >> (24 - 8 * i)) & 0xFF;
    }
    bytes[24] = depth;
    bytes[25] = type;
    FixCrc(bytes, 16, 13);
    return bytes;
  };
  std::vector<uint8_t> badCrc = good;
  badCrc[17] ^= 0x40;
  std::vector<uint8_t> corruptData = good;
  for (size_t i = 45; i < 60; ++i)
    corruptData[i] ^= 0x5A;

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"signature only", std::vector<uint8_t>(good.begin(), good.begin() + 8)},
      {"cut inside the header", std::vector<uint8_t>(good.begin(), good.begin() + 20)},
      {"cut inside the image data", std::vector<uint8_t>(good.begin(), good.end() - 30)},
      {"header CRC wrong", badCrc},
      {"image data scrambled", corruptData},
      {"huge declared size", withHeader(60000, 60000, 8, PNG_COLOR_TYPE_RGB)},
      {"more rows than the data can hold", withHeader(4000, 4000, 8, PNG_COLOR_TYPE_RGB)},
      {"zero width", withHeader(0, 30, 8, PNG_COLOR_TYPE_RGB)},
      {"impossible depth", withHeader(40, 30, 3, PNG_COLOR_TYPE_RGB)},
      {"unknown colour type", withHeader(40, 30, 8, 5)},
  };
  for (const Case& c : cases) {
    std::string said;
    EXPECT_FALSE(Decode(c.bytes, image, &said)) << c.what;
    EXPECT_EQ(said, "") << c.what;
  }
}

}  // namespace
}  // namespace zrb::graphics
