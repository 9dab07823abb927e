// An RGBA picture in memory, rows top to bottom, and the few pixel operations the
// sprite sheets and pictures are built from.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace mediagen {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
  bool operator==(const Rgba&) const = default;
};

// "#rrggbb", "#rrggbbaa", or "none" / "transparent". Nothing else.
std::optional<Rgba> ParseColour(std::string_view text);

// Linear mix of two colours, t in 0..1 (alpha mixed too).
Rgba Mix(Rgba a, Rgba b, double t);

class Image {
 public:
  Image() = default;
  Image(int width, int height, Rgba fill = {});

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  Rgba at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  Rgba& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  // Writes that fall outside the picture are dropped.
  void Set(int x, int y, Rgba c) {
    if (Contains(x, y)) at(x, y) = c;
  }
  // Source-over compositing of c onto the pixel.
  void Blend(int x, int y, Rgba c);
  void FillRect(int x, int y, int w, int h, Rgba c);
  void BlendRect(int x, int y, int w, int h, Rgba c);

  // Draws `src` with its top-left at (x, y): transparent source pixels leave the target alone,
  // partly transparent ones are blended.
  void Draw(const Image& src, int x, int y);
  // Copies pixels verbatim, transparency included.
  void Paste(const Image& src, int x, int y);

  Image Crop(int x, int y, int w, int h) const;
  Image Scaled(int factor) const;  // nearest neighbour
  Image Mirrored() const;          // left-right
  Image Flipped() const;           // top-bottom

  const std::vector<Rgba>& pixels() const { return pixels_; }

 private:
  int width_ = 0, height_ = 0;
  std::vector<Rgba> pixels_;
};

}  // namespace mediagen
