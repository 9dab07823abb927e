// The image decoders: every layout each reads, the colour key, and files that lie about
// themselves, are cut short or have bytes flipped.
#include <gtest/gtest.h>
#include <png.h>

#include <zlib.h>
#include <cstdlib>

#include "engine/graphics/bmp_decoder.h"
#include "engine/graphics/image_decoder.h"
#include "engine/graphics/jpeg_decoder.h"
#include "engine/graphics/png_decoder.h"
#include "engine/graphics/png_writer.h"
#include "test_images.h"

namespace zrb::graphics {

namespace {

// Our BMP decoder: every bit count, row padding, both row orders, the colour key, and
// files that lie about themselves.
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

using Px = std::vector<uint8_t>;

// The picture as the decoders give it: RGBA, every pixel opaque.
Px OpaqueRgba(const Picture& picture) {
  Px rgba;
  for (const Rgb& c : picture.pixels)
    rgba.insert(rgba.end(), {c.red, c.green, c.blue, 255});
  return rgba;
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
      EXPECT_EQ(image.width, 5);
      EXPECT_EQ(image.rgba, OpaqueRgba(picture));
    }
  }
  // A palette may hold fewer colours than the bit count allows, down to one.
  Picture plain = FourColourPicture(nullptr);
  std::fill(plain.pixels.begin(), plain.pixels.end(), Rgb{10, 20, 30});
  BmpOptions one;
  one.bitCount = 1;
  one.palette = {{10, 20, 30}};
  one.indexes.assign(plain.pixels.size(), 0);
  DecodedImage image;
  ASSERT_TRUE(DecodeBmp(EncodeBmp(plain, one), kNoKey, image));
  EXPECT_EQ(image.rgba, OpaqueRgba(plain));
}

TEST(BmpDecoder, SixteenBitChannelsAreScaledFromFiveBits) {
  Picture picture(2, 1);
  picture.At(0, 0) = {132, 255, 0};  // stored as 16, 31, 0
  picture.At(1, 0) = {8, 0, 255};    // stored as 1, 0, 31
  DecodedImage image;
  ASSERT_TRUE(DecodeBmp(EncodeBmp(picture, {.bitCount = 16}), kNoKey, image));
  EXPECT_EQ(image.rgba, (Px{131, 255, 0, 255, /**/ 8, 0, 255, 255}));
}

TEST(BmpDecoder, KeyedPixelsLoseGreenBlueAndAlpha) {
  const Rgb key{255, 0, 128};
  Picture picture(3, 2, {10, 20, 30});
  picture.At(1, 0) = key;
  picture.At(2, 1) = key;
  picture.At(0, 1) = {255, 0, 129};  // one step away from the key: stays
  DecodedImage image;
  ASSERT_TRUE(DecodeBmp(EncodeBmp(picture, {.bitCount = 32}), key, image));
  EXPECT_EQ(image.rgba, (Px{10,  20, 30,  255, /**/ 255, 0,  0,  0,   /**/ 10,  20, 30, 255,  //
                            255, 0,  129, 255, 10,       20, 30, 255, /**/ 255, 0,  0,  0}));
}

TEST(BmpDecoder, BitFieldsAreReadOnlyWhenTheyDescribeThePlainLayout) {
  Picture picture(2, 2, {255, 0, 0});
  std::vector<uint8_t> bytes;
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
  bytes = EncodeBmp(picture, {.bitCount = 32});
  EXPECT_TRUE(DecodeBmp(withMasks(0xFF0000, 0xFF00, 0xFF), kNoKey, image));
  EXPECT_EQ(image.rgba, OpaqueRgba(picture));
  EXPECT_FALSE(DecodeBmp(withMasks(0xFF, 0xFF00, 0xFF0000), kNoKey, image));
  // Sixteen bits: 5-5-5 is the plain layout, 5-6-5 is not read.
  bytes = EncodeBmp(picture, {.bitCount = 16});
  EXPECT_TRUE(DecodeBmp(withMasks(0x7C00, 0x03E0, 0x001F), kNoKey, image));
  EXPECT_EQ(image.rgba, OpaqueRgba(picture));
  EXPECT_FALSE(DecodeBmp(withMasks(0xF800, 0x07E0, 0x001F), kNoKey, image));
  EXPECT_FALSE(DecodeBmp(withMasks(0x7C00, 0x03E0, 0x003E), kNoKey, image));
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

// PNG through libpng: which kinds load, how the colour key applies, what is refused and
// what is said about it, and files that libpng itself rejects.
using testing::EncodePng;
using testing::PngContent;

constexpr Rgb kKey{255, 0, 128};

bool Decode(const std::vector<uint8_t>& bytes, DecodedImage& image, std::string* said = nullptr) {
  ::testing::internal::CaptureStdout();
  bool ok = DecodePng(bytes, kKey, "pic.png", image);
  std::string out = ::testing::internal::GetCapturedStdout();
  if (said) *said = out;
  return ok;
}

TEST(PngDecoder, EveryKindBecomesEightBitRgbaAndOnlyKindsWithoutAlphaTakeTheKey) {
  const struct {
    PngContent content;
    Px rgba;
  } cases[] = {
      // clang-format off
      {{2, 1, PNG_COLOR_TYPE_RGBA, 8, {255, 0, 128, 255, /**/ 10, 20, 30, 77}},
       {255, 0, 128, 255, /**/ 10, 20, 30, 77}},
      {{2, 2, PNG_COLOR_TYPE_RGB, 8, {255, 0, 128, 1, 2, 3, /**/ 4, 5, 6, 255, 0, 127}, {}, {}, true},
       {0, 0, 0, 0, /**/ 1, 2, 3, 255, /**/ 4, 5, 6, 255, /**/ 255, 0, 127, 255}},
      {{3, 1, PNG_COLOR_TYPE_GRAY, 2, {0, 1, 3}},
       {0, 0, 0, 255, /**/ 85, 85, 85, 255, /**/ 255, 255, 255, 255}},
      // With a transparency chunk the picture is RGBA, and RGBA ignores the key.
      {{3, 1, PNG_COLOR_TYPE_PALETTE, 4, {0, 1, 2}, {{9, 8, 7}, {255, 0, 128}, {1, 1, 1}}, {255, 255, 40}},
       {9, 8, 7, 255, /**/ 255, 0, 128, 255, /**/ 1, 1, 1, 40}},
      {{1, 1, PNG_COLOR_TYPE_RGB, 16, {65535, 0, 0x8180}}, {255, 0, 129, 255}},
      // clang-format on
  };
  for (const auto& c : cases) {
    DecodedImage image;
    ASSERT_TRUE(Decode(EncodePng(c.content), image)) << c.content.colourType;
    EXPECT_EQ(image.rgba, c.rgba) << c.content.colourType << " at depth " << c.content.bitDepth;
  }
}

// A screenshot read back: the same pixels from the top row down, made opaque.
TEST(PngWriter, APictureWrittenAndReadBackKeepsEveryRow) {
  Px rgba;
  for (int i = 0; i < 3 * 2; ++i)
    rgba.insert(rgba.end(), {uint8_t(i * 40), uint8_t(255 - i), uint8_t(i), uint8_t(i * 9)});
  const auto png = graphics::EncodePng(rgba.data(), 3, 2);
  DecodedImage image;
  ASSERT_TRUE(png && Decode(*png, image));
  for (size_t i = 3; i < rgba.size(); i += 4)
    rgba[i] = 255;
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.rgba, rgba);
}

// Each decoder takes a file by its own signature, whole, and nothing shorter or else.
TEST(ImageSignatures, EachDecoderKnowsOnlyItsOwn) {
  const std::pair<std::string_view, std::vector<std::string_view>> cases[] = {
      {"bmp", {"BM"}},
      {"png", {"\x89PNG\r\n\x1a\n"}},
      {"jpeg", {"\xff\xd8\xff"}},
      {"",
       {"", "B", "BX", "XM", "MB", "\xff\xd8", "\xff\xd9\xff", "\xfe\xd8\xff", "\x89PNG\r\n\x1a",
        "\x89PNG\r\n\x1b\n"}},
  };
  for (const auto& [kind, files] : cases) {
    for (std::string_view file : files) {
      const std::span<const uint8_t> b(reinterpret_cast<const uint8_t*>(file.data()), file.size());
      EXPECT_EQ(LooksLikeBmp(b), kind == "bmp") << file;
      EXPECT_EQ(LooksLikePng(b), kind == "png") << file;
      EXPECT_EQ(LooksLikeJpeg(b), kind == "jpeg") << file;
    }
  }
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

// JPEG through libjpeg: colour and grey, progressive, opaque whatever the key, and damaged
// files refused instead of patched up.
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

TEST(JpegDecoder, ColourAndGreyBaselineAndProgressiveAllOpaque) {
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
  // The colour key does not apply.
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
