// Our BMP decoder: every bit count, row padding, both row orders, the colour key, and
// files that lie about themselves.
#include "engine/graphics/bmp_decoder.h"

#include <gtest/gtest.h>

#include "test_images.h"

namespace zrb::graphics {
namespace {

using testing::BmpOptions;
using testing::EncodeBmp;
using testing::Picture;

constexpr Rgb kNoKey{1, 2, 3};  // a colour none of the pictures below uses
constexpr Rgb kColours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

// 5 x 3: odd widths need row padding at every bit count.
Picture FourColourPicture(std::vector<uint8_t>* indexes) {
  Picture picture(5, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      uint8_t index = static_cast<uint8_t>((x + 2 * y) % 4);
      picture.At(x, y) = kColours[index];
      if (indexes) indexes->push_back(index);
    }
  }
  return picture;
}

void ExpectPixel(const DecodedImage& image, int x, int y, Rgb colour, uint8_t alpha) {
  const uint8_t* p = image.Row(y) + x * 4;
  EXPECT_EQ(p[0], colour.red) << "at " << x << "," << y;
  EXPECT_EQ(p[1], colour.green) << "at " << x << "," << y;
  EXPECT_EQ(p[2], colour.blue) << "at " << x << "," << y;
  EXPECT_EQ(p[3], alpha) << "at " << x << "," << y;
}

TEST(BmpDecoder, EveryBitCountAndRowOrderGivesTheSameTopDownPicture) {
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    for (bool topDown : {false, true}) {
      SCOPED_TRACE(::testing::Message() << bits << " bits, top-down " << topDown);
      std::vector<uint8_t> indexes;
      Picture picture = FourColourPicture(&indexes);
      BmpOptions options;
      options.bitCount = bits;
      options.topDown = topDown;
      if (bits == 1) {
        // Two colours only: map the picture onto black and white.
        options.palette = {{0, 0, 0}, {255, 255, 255}};
        for (size_t i = 0; i < indexes.size(); ++i) {
          indexes[i] = indexes[i] % 2;
          picture.pixels[i] = options.palette[indexes[i]];
        }
      } else if (bits <= 8) {
        options.palette.assign(std::begin(kColours), std::end(kColours));
      }
      options.indexes = indexes;

      DecodedImage image;
      ASSERT_TRUE(DecodeBmp(EncodeBmp(picture, options), kNoKey, image));
      ASSERT_EQ(image.width, 5);
      ASSERT_EQ(image.height, 3);
      for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x)
          ExpectPixel(image, x, y, picture.At(x, y), 255);
      }
    }
  }
}

TEST(BmpDecoder, SixteenBitChannelsAreScaledFromFiveBits) {
  Picture picture(2, 1);
  picture.At(0, 0) = {132, 255, 0};  // stored as 16, 31, 0
  picture.At(1, 0) = {8, 0, 255};    // stored as 1, 0, 31
  DecodedImage image;
  ASSERT_TRUE(DecodeBmp(EncodeBmp(picture, {.bitCount = 16}), kNoKey, image));
  ExpectPixel(image, 0, 0, {131, 255, 0}, 255);
  ExpectPixel(image, 1, 0, {8, 0, 255}, 255);
}

TEST(BmpDecoder, KeyedPixelsLoseGreenBlueAndAlpha) {
  const Rgb key{255, 0, 128};
  Picture picture(3, 2, {10, 20, 30});
  picture.At(1, 0) = key;
  picture.At(2, 1) = key;
  picture.At(0, 1) = {255, 0, 129};  // one step away from the key: stays
  DecodedImage image;
  ASSERT_TRUE(DecodeBmp(EncodeBmp(picture, {.bitCount = 32}), key, image));
  ExpectPixel(image, 0, 0, {10, 20, 30}, 255);
  ExpectPixel(image, 1, 0, {255, 0, 0}, 0);
  ExpectPixel(image, 2, 1, {255, 0, 0}, 0);
  ExpectPixel(image, 0, 1, {255, 0, 129}, 255);
}

TEST(BmpDecoder, BitFieldsAreReadOnlyWhenTheyDescribeThePlainLayout) {
  Picture picture(2, 2, {255, 0, 0});
  std::vector<uint8_t> bytes = EncodeBmp(picture, {.bitCount = 32});
  // Insert the three masks after the 40-byte header and move the pixels along.
  auto withMasks = [&](uint32_t red, uint32_t green, uint32_t blue) {
    std::vector<uint8_t> out(bytes.begin(), bytes.begin() + 54);
    for (uint32_t mask : {red, green, blue}) {
      for (int i = 0; i < 4; ++i)
        out.push_back((mask >> (8 * i)) & 0xFF);
    }
    out.insert(out.end(), bytes.begin() + 54, bytes.end());
    out[30] = 3;   // BI_BITFIELDS
    out[10] = 66;  // pixel offset
    return out;
  };
  DecodedImage image;
  EXPECT_TRUE(DecodeBmp(withMasks(0xFF0000, 0xFF00, 0xFF), kNoKey, image));
  ExpectPixel(image, 1, 1, {255, 0, 0}, 255);
  EXPECT_FALSE(DecodeBmp(withMasks(0xFF, 0xFF00, 0xFF0000), kNoKey, image));
}

TEST(BmpDecoder, RefusesFilesThatLieOrAreUnsupported) {
  std::vector<uint8_t> indexes(4, 1);
  const Picture picture(2, 2, {7, 7, 7});
  const std::vector<uint8_t> good24 = EncodeBmp(picture);
  const std::vector<uint8_t> good8 =
      EncodeBmp(picture, {.bitCount = 8, .palette = {{0, 0, 0}, {7, 7, 7}}, .indexes = indexes});
  DecodedImage image;
  ASSERT_TRUE(DecodeBmp(good24, kNoKey, image));
  ASSERT_TRUE(DecodeBmp(good8, kNoKey, image));

  auto patched = [](std::vector<uint8_t> bytes, size_t at, std::vector<uint8_t> value) {
    std::copy(value.begin(), value.end(), bytes.begin() + at);
    return bytes;
  };
  auto truncated = [](std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"only the magic", {'B', 'M'}},
      {"not BM", patched(good24, 0, {'M', 'B'})},
      {"cut inside the info header", truncated(good24, 40)},
      {"cut inside the pixels", truncated(good24, good24.size() - 1)},
      {"info header too small", patched(good24, 14, {12, 0, 0, 0})},
      {"info header bigger than the file", patched(good24, 14, {0, 0, 1, 0})},
      {"zero width", patched(good24, 18, {0, 0, 0, 0})},
      {"negative width", patched(good24, 18, {0xFE, 0xFF, 0xFF, 0xFF})},
      {"zero height", patched(good24, 22, {0, 0, 0, 0})},
      {"most negative height", patched(good24, 22, {0, 0, 0, 0x80})},
      {"huge declared size",
       patched(patched(good24, 18, {0xA0, 0x86, 1, 0}), 22, {0xA0, 0x86, 1, 0})},
      {"wider than the pixels present", patched(good24, 18, {0, 4, 0, 0})},
      {"bit count 2", patched(good24, 28, {2, 0})},
      {"bit count 0", patched(good24, 28, {0, 0})},
      {"bit count 64", patched(good24, 28, {64, 0})},
      {"run-length compression", patched(good8, 30, {1, 0, 0, 0})},
      {"pixel offset inside the headers", patched(good24, 10, {20, 0, 0, 0})},
      {"pixel offset past the end", patched(good24, 10, {0, 0, 0, 1})},
      {"index past the palette", patched(good8, 54 + 8, {5})},
      {"palette with no room", patched(good8, 10, {54, 0, 0, 0})},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(DecodeBmp(c.bytes, kNoKey, image)) << c.what;
  }
}

}  // namespace
}  // namespace zrb::graphics
