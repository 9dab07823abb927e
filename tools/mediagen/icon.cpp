#include "tools/mediagen/icon.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "tools/mediagen/png_io.h"
#include "tools/mediagen/source_text.h"
#include "tools/mediagen/sprite_sheet.h"

namespace mediagen {
namespace {

// A whole multiple is used when it fills at least this much of the square: below that the
// penguin would look lost in its icon, and an averaged larger one looks better.
constexpr double kWholeScaleFill = 0.8;

Image PaintedPart(const Image& art) {
  int left = art.width(), top = art.height(), right = -1, bottom = -1;
  for (int y = 0; y < art.height(); ++y) {
    for (int x = 0; x < art.width(); ++x) {
      if (art.at(x, y).a == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) throw std::runtime_error("the icon's art has no painted pixel");
  return art.Crop(left, top, right - left + 1, bottom - top + 1);
}

// Area averaging to width x height, in premultiplied alpha so that transparent pixels lend no
// colour to the edge.
Image AveragedTo(const Image& src, int width, int height) {
  Image out(width, height);
  const double sx = static_cast<double>(src.width()) / width;
  const double sy = static_cast<double>(src.height()) / height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double r = 0, g = 0, b = 0, a = 0, area = 0;
      const double x0 = x * sx, x1 = (x + 1) * sx, y0 = y * sy, y1 = (y + 1) * sy;
      for (int j = static_cast<int>(y0); j < std::min<double>(std::ceil(y1), src.height()); ++j) {
        const double h = std::min<double>(y1, j + 1) - std::max<double>(y0, j);
        for (int i = static_cast<int>(x0); i < std::min<double>(std::ceil(x1), src.width()); ++i) {
          const double w = std::min<double>(x1, i + 1) - std::max<double>(x0, i);
          const Rgba c = src.at(i, j);
          const double weight = w * h, alpha = c.a / 255.0;
          r += c.r * alpha * weight;
          g += c.g * alpha * weight;
          b += c.b * alpha * weight;
          a += alpha * weight;
          area += weight;
        }
      }
      if (a <= 0) continue;
      const auto channel = [](double v) {
        return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
      };
      out.at(x, y) =
          Rgba{channel(r / a), channel(g / a), channel(b / a), channel(255.0 * a / area)};
    }
  }
  return out;
}

}  // namespace

Image RenderIcon(const Image& art, int size) {
  const Image part = PaintedPart(art);
  const int longest = std::max(part.width(), part.height());
  Image sized;
  const int whole = size / longest;
  if (whole >= 1 && whole * longest >= kWholeScaleFill * size) {
    sized = part.Scaled(whole);
  } else {
    // A margin of a sixteenth of the size on every side, as the theme's icons keep.
    const double fit = (size - 2.0 * std::max(1, size / 16)) / longest;
    const int width = std::max(1, static_cast<int>(std::lround(part.width() * fit)));
    const int height = std::max(1, static_cast<int>(std::lround(part.height() * fit)));
    sized = AveragedTo(part.Scaled(static_cast<int>(std::ceil(fit))), width, height);
  }
  Image icon(size, size);
  icon.Paste(sized, (size - sized.width()) / 2, (size - sized.height()) / 2);
  return icon;
}

Image IconArt(const std::filesystem::path& mediaDir) {
  const SpriteSheet sheet = ParseSpriteSheet(SourceText::Load(mediaDir / kIconSheet));
  if (sheet.frameCount() <= kIconFrame) {
    throw std::runtime_error(std::string(kIconSheet) + ": no frame for the icon");
  }
  return sheet.frames[kIconFrame];
}

std::vector<uint8_t> IconFile(const std::vector<std::vector<uint8_t>>& pngs,
                              const std::vector<int>& sizes) {
  std::vector<uint8_t> out;
  const auto put16 = [&](uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  };
  const auto put32 = [&](uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  std::vector<size_t> kept;
  for (size_t i = 0; i < sizes.size(); ++i) {
    if (sizes[i] <= 256) kept.push_back(i);
  }
  put16(0);  // reserved
  put16(1);  // an icon, not a cursor
  put16(static_cast<uint32_t>(kept.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(kept.size());
  for (size_t i : kept) {
    // A side of 256 is written as 0; the pictures are PNG streams, as Windows Vista reads them.
    out.push_back(static_cast<uint8_t>(sizes[i] & 0xFF));
    out.push_back(static_cast<uint8_t>(sizes[i] & 0xFF));
    out.push_back(0);  // no palette
    out.push_back(0);
    put16(1);   // colour planes
    put16(32);  // bits per pixel
    put32(static_cast<uint32_t>(pngs[i].size()));
    put32(offset);
    offset += static_cast<uint32_t>(pngs[i].size());
  }
  for (size_t i : kept)
    out.insert(out.end(), pngs[i].begin(), pngs[i].end());
  return out;
}

void WriteIcons(const std::filesystem::path& mediaDir, const std::filesystem::path& dir,
                const std::vector<int>& sizes) {
  const Image art = IconArt(mediaDir);
  std::filesystem::create_directories(dir);
  std::vector<std::vector<uint8_t>> pngs;
  for (int size : sizes) {
    pngs.push_back(EncodePng(RenderIcon(art, size)));
    WriteFileBytes(dir / (std::to_string(size) + ".png"), pngs.back());
  }
  WriteFileBytes(dir / "icon.ico", IconFile(pngs, sizes));
}

}  // namespace mediagen
