// Writers for the image files the graphics tests load: BMP by hand, PNG through libpng,
// JPEG through libjpeg. Everything a test reads is made here, in a fresh folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/graphics/decoded_image.h"
#include "support/temp_folder.h"

// Tests describe images with designated initializers that name only the fields that
// matter to them; the rest keep their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace zrb::testing {

using graphics::Rgb;

// A picture as the tests think of it: top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;

  Picture(int w, int h, Rgb fill = {}) : width(w), height(h), pixels(size_t(w) * h, fill) {}
  Rgb& At(int x, int y) { return pixels[size_t(y) * width + x]; }
  const Rgb& At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

struct BmpOptions {
  int bitCount = 24;
  bool topDown = false;          // negative height in the header
  std::vector<Rgb> palette;      // for 1, 4 and 8 bits; pixels are looked up in it
  std::vector<uint8_t> indexes;  // for 1, 4 and 8 bits: one index per pixel, top row first
};

std::vector<uint8_t> EncodeBmp(const Picture& picture, const BmpOptions& options = {});

// colourType: PNG_COLOR_TYPE_*; `samples` holds width * height * channels values of
// `bitDepth` bits each (16-bit samples as numbers up to 65535), top row first.
struct PngContent {
  int width = 0;
  int height = 0;
  int colourType = 0;
  int bitDepth = 8;
  std::vector<uint16_t> samples;
  std::vector<Rgb> palette;           // PNG_COLOR_TYPE_PALETTE
  std::vector<uint8_t> paletteAlpha;  // tRNS for palette images
  bool interlaced = false;
};
std::vector<uint8_t> EncodePng(const PngContent& content);

// RGB (3 components) or grey (1) samples, top row first; quality 100.
std::vector<uint8_t> EncodeJpeg(int width, int height, int components,
                                const std::vector<uint8_t>& samples, bool progressive = false);

}  // namespace zrb::testing
