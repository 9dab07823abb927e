#include "tools/mediagen/image.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
uint8_t Clamp8(double v) {
  return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}
}  // namespace

std::optional<Rgba> ParseColour(std::string_view text) {
  if (text == "none" || text == "transparent") return Rgba{0, 0, 0, 0};
  if (text.size() != 7 && text.size() != 9) return std::nullopt;
  if (text[0] != '#') return std::nullopt;
  uint8_t channel[4] = {0, 0, 0, 255};
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    channel[i / 2] = static_cast<uint8_t>(hi * 16 + lo);
  }
  return Rgba{channel[0], channel[1], channel[2], channel[3]};
}

Rgba Mix(Rgba a, Rgba b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t),
          Clamp8(a.b + (b.b - a.b) * t), Clamp8(a.a + (b.a - a.a) * t)};
}

Image::Image(int width, int height, Rgba fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, fill) {}

void Image::Blend(int x, int y, Rgba c) {
  if (!Contains(x, y) || c.a == 0) return;
  Rgba& d = at(x, y);
  if (c.a == 255) {
    d = c;
    return;
  }
  double sa = c.a / 255.0, da = d.a / 255.0;
  double oa = sa + da * (1 - sa);
  auto channel = [&](uint8_t s, uint8_t t) { return Clamp8((s * sa + t * da * (1 - sa)) / oa); };
  d = {channel(c.r, d.r), channel(c.g, d.g), channel(c.b, d.b), Clamp8(oa * 255)};
}

void Image::FillRect(int x, int y, int w, int h, Rgba c) {
  for (int j = std::max(y, 0); j < std::min(y + h, height_); ++j)
    for (int i = std::max(x, 0); i < std::min(x + w, width_); ++i)
      at(i, j) = c;
}

void Image::BlendRect(int x, int y, int w, int h, Rgba c) {
  for (int j = std::max(y, 0); j < std::min(y + h, height_); ++j)
    for (int i = std::max(x, 0); i < std::min(x + w, width_); ++i)
      Blend(i, j, c);
}

void Image::Draw(const Image& src, int x, int y) {
  for (int j = 0; j < src.height(); ++j)
    for (int i = 0; i < src.width(); ++i)
      Blend(x + i, y + j, src.at(i, j));
}

void Image::Paste(const Image& src, int x, int y) {
  for (int j = 0; j < src.height(); ++j)
    for (int i = 0; i < src.width(); ++i)
      Set(x + i, y + j, src.at(i, j));
}

Image Image::Crop(int x, int y, int w, int h) const {
  Image out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (Contains(x + i, y + j)) out.at(i, j) = at(x + i, y + j);
  return out;
}

Image Image::Scaled(int factor) const {
  Image out(width_ * factor, height_ * factor);
  for (int j = 0; j < out.height(); ++j)
    for (int i = 0; i < out.width(); ++i)
      out.at(i, j) = at(i / factor, j / factor);
  return out;
}

Image Image::Mirrored() const {
  Image out(width_, height_);
  for (int j = 0; j < height_; ++j)
    for (int i = 0; i < width_; ++i)
      out.at(i, j) = at(width_ - 1 - i, j);
  return out;
}

Image Image::Flipped() const {
  Image out(width_, height_);
  for (int j = 0; j < height_; ++j)
    for (int i = 0; i < width_; ++i)
      out.at(i, j) = at(i, height_ - 1 - j);
  return out;
}

}  // namespace mediagen
