// The decoders' common output: 8-bit RGBA pixels, rows top to bottom, and the colour key
// they apply to images without an alpha channel of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zrb::graphics {

// Red, green and blue of a colour value red + green * 256 + blue * 65536.
struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;

  static constexpr Rgb FromColourValue(int32_t colour) {
    return Rgb{static_cast<uint8_t>(colour & 0xFF), static_cast<uint8_t>((colour >> 8) & 0xFF),
               static_cast<uint8_t>((colour >> 16) & 0xFF)};
  }
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // width * height * 4 bytes; the buffer is reused between loads

  void Resize(int w, int h) {
    width = w;
    height = h;
    rgba.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
  }
  uint8_t* Row(int y) { return rgba.data() + static_cast<std::size_t>(y) * width * 4; }
  const uint8_t* Row(int y) const { return rgba.data() + static_cast<std::size_t>(y) * width * 4; }
};

// What a file may declare before a decoder refuses it. A header alone never makes us
// allocate more than this: sprites are screen-sized, and a bigger declared image is far
// more likely a damaged or hostile file than a picture.
inline constexpr int kMaxImageSide = 8192;
inline constexpr int64_t kMaxImagePixels = int64_t{16} * 1024 * 1024;

inline bool ImageSizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

}  // namespace zrb::graphics
