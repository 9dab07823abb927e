#include "engine/graphics/bmp_decoder.h"

#include <array>
#include <cstdlib>

namespace zrb::graphics {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitFields = 3;

uint32_t ReadU32(std::span<const uint8_t> b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
         uint32_t{b[at + 3]} << 24;
}
uint16_t ReadU16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

struct BmpLayout {
  int64_t width = 0;
  int64_t height = 0;  // absolute value
  bool bottomUp = true;
  int bitCount = 0;
  uint64_t pixelOffset = 0;
  uint64_t rowStride = 0;
};

// Bit-field masks are accepted only when they describe the plain layouts the decoder reads
// anyway (5-5-5 and 8-8-8), so a writer that always stores masks still loads.
bool StandardMasks(std::span<const uint8_t> bytes, int bitCount) {
  constexpr size_t at = kFileHeaderSize + kInfoHeaderSize;
  if (bytes.size() < at + 12) return false;
  uint32_t red = ReadU32(bytes, at), green = ReadU32(bytes, at + 4), blue = ReadU32(bytes, at + 8);
  if (bitCount == 16) return red == 0x7C00 && green == 0x03E0 && blue == 0x001F;
  if (bitCount == 32) return red == 0xFF0000 && green == 0xFF00 && blue == 0xFF;
  return false;
}

bool ReadLayout(std::span<const uint8_t> bytes, BmpLayout& layout) {
  if (bytes.size() < kFileHeaderSize + kInfoHeaderSize) return false;
  uint32_t infoSize = ReadU32(bytes, 14);
  if (infoSize < kInfoHeaderSize || infoSize > bytes.size()) return false;
  int32_t width = static_cast<int32_t>(ReadU32(bytes, 18));
  int32_t height = static_cast<int32_t>(ReadU32(bytes, 22));
  layout.bitCount = ReadU16(bytes, 28);
  uint32_t compression = ReadU32(bytes, 30);

  switch (layout.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      if (compression != kCompressionNone) return false;
      break;
    case 16:
    case 32:
      if (compression != kCompressionNone &&
          !(compression == kCompressionBitFields && StandardMasks(bytes, layout.bitCount))) {
        return false;
      }
      break;
    default:
      return false;
  }

  // A negative height marks a top-down file; its rows are already in our order.
  layout.width = width;
  layout.height = std::llabs(static_cast<int64_t>(height));
  layout.bottomUp = height > 0;
  if (!ImageSizeAllowed(layout.width, layout.height)) return false;

  layout.rowStride = ((static_cast<uint64_t>(layout.width) * layout.bitCount + 31) / 32) * 4;
  layout.pixelOffset = ReadU32(bytes, 10);
  if (layout.pixelOffset < kFileHeaderSize + infoSize) return false;
  return layout.pixelOffset + layout.rowStride * static_cast<uint64_t>(layout.height) <=
         bytes.size();
}

// Palette entries lie between the headers and the pixels, four bytes each (blue, green, red,
// unused). Only entries wholly inside that gap exist.
bool ReadPalette(std::span<const uint8_t> bytes, const BmpLayout& layout,
                 std::array<Rgb, 256>& palette, size_t& entries) {
  size_t start = kFileHeaderSize + ReadU32(bytes, 14);
  uint32_t declared = ReadU32(bytes, 46);
  size_t maximum = size_t{1} << layout.bitCount;
  size_t wanted = (declared == 0 || declared > maximum) ? maximum : declared;
  size_t room = (layout.pixelOffset - start) / 4;
  entries = wanted < room ? wanted : room;
  if (entries == 0) return false;
  for (size_t i = 0; i < entries; ++i) {
    const uint8_t* p = bytes.data() + start + i * 4;
    palette[i] = Rgb{p[2], p[1], p[0]};
  }
  return true;
}

uint8_t Scale5(unsigned value) {
  return static_cast<uint8_t>(value * 255 / 31);
}

}  // namespace

bool LooksLikeBmp(std::span<const uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

bool DecodeBmp(std::span<const uint8_t> bytes, Rgb key, DecodedImage& out) {
  if (!LooksLikeBmp(bytes)) return false;
  BmpLayout layout;
  if (!ReadLayout(bytes, layout)) return false;

  std::array<Rgb, 256> palette{};
  size_t paletteEntries = 0;
  if (layout.bitCount <= 8 && !ReadPalette(bytes, layout, palette, paletteEntries)) return false;

  const int width = static_cast<int>(layout.width);
  const int height = static_cast<int>(layout.height);
  out.Resize(width, height);
  for (int y = 0; y < height; ++y) {
    int fileRow = layout.bottomUp ? height - 1 - y : y;
    const uint8_t* src = bytes.data() + layout.pixelOffset + layout.rowStride * fileRow;
    uint8_t* dst = out.Row(y);
    for (int x = 0; x < width; ++x, dst += 4) {
      Rgb colour;
      switch (layout.bitCount) {
        case 1:
        case 4:
        case 8: {
          const int bits = layout.bitCount;
          const int perByte = 8 / bits;
          unsigned byte = src[x / perByte];
          unsigned shift = 8 - bits * (x % perByte + 1);
          unsigned index = (byte >> shift) & ((1u << bits) - 1);
          if (index >= paletteEntries) return false;
          colour = palette[index];
          break;
        }
        case 16: {
          unsigned value = src[x * 2] | src[x * 2 + 1] << 8;
          colour = Rgb{Scale5((value >> 10) & 31), Scale5((value >> 5) & 31), Scale5(value & 31)};
          break;
        }
        case 24:
          colour = Rgb{src[x * 3 + 2], src[x * 3 + 1], src[x * 3]};
          break;
        default:  // 32: the fourth byte is not alpha for us
          colour = Rgb{src[x * 4 + 2], src[x * 4 + 1], src[x * 4]};
          break;
      }
      dst[0] = colour.red;
      dst[1] = colour.green;
      dst[2] = colour.blue;
      dst[3] = 255;
      if (colour == key) {
        dst[1] = 0;
        dst[2] = 0;
        dst[3] = 0;
      }
    }
  }
  return true;
}

}  // namespace zrb::graphics
