#include "engine/graphics/cpu_present.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zrb::graphics {
namespace {

// The surface's word for a picture pixel (bytes R, G, B, A).
inline uint32_t Convert(uint32_t p, int rs, int gs, int bs) {
  return (p & 0xFF) << rs | ((p >> 8) & 0xFF) << gs | ((p >> 16) & 0xFF) << bs;
}

// Each byte of `a` and `b` mixed, `b` weighted `w` of 256, rounded to nearest: two bytes at a
// time, each in a 16-bit lane (255 * 256 + 128 fits).
inline uint32_t Mix(uint32_t a, uint32_t b, uint32_t w) {
  const uint32_t v = 256 - w;
  const uint32_t low = (((a & 0xFF00FF) * v + (b & 0xFF00FF) * w + 0x800080) >> 8) & 0xFF00FF;
  const uint32_t high = ((a >> 8 & 0xFF00FF) * v + (b >> 8 & 0xFF00FF) * w + 0x800080) & 0xFF00FF00;
  return low | high;
}

// Two rows of `width` pixels mixed byte by byte, `b` weighted `w` of 256: sixteen bytes at a
// time through local blocks, which the compiler turns into 16-bit vector lanes.
void MixRows(const uint32_t* a, const uint32_t* b, uint32_t w, uint32_t* out, int width) {
  const auto* from = reinterpret_cast<const uint8_t*>(a);
  const auto* to = reinterpret_cast<const uint8_t*>(b);
  auto* mixed = reinterpret_cast<uint8_t*>(out);
  const uint16_t v = static_cast<uint16_t>(256 - w), u = static_cast<uint16_t>(w);
  const size_t bytes = static_cast<size_t>(width) * 4;
  size_t i = 0;
  for (; i + 16 <= bytes; i += 16) {
    uint8_t f[16], t[16], m[16];
    std::memcpy(f, from + i, 16);
    std::memcpy(t, to + i, 16);
    for (int k = 0; k < 16; ++k)
      m[k] = static_cast<uint8_t>((f[k] * v + t[k] * u + 128) >> 8);
    std::memcpy(mixed + i, m, 16);
  }
  for (; i < bytes; ++i)
    mixed[i] = static_cast<uint8_t>((from[i] * v + to[i] * u + 128) >> 8);
}

}  // namespace

Letterbox SurfaceBox(int pictureWidth, int pictureHeight, int surfaceWidth, int surfaceHeight) {
  Letterbox box = LayOutPicture(pictureWidth, pictureHeight, surfaceWidth, surfaceHeight);
  if (box.width > 0) box.y = surfaceHeight - box.y - box.height;
  return box;
}

void SurfacePresenter::Show(const CpuPicture& picture, const platform::SurfacePixels& surface) {
  const Letterbox box = SurfaceBox(picture.width, picture.height, surface.width, surface.height);
  const bool moved = box.x != lastBox_.x || box.y != lastBox_.y || box.width != lastBox_.width ||
                     box.height != lastBox_.height || box.scaling != lastBox_.scaling ||
                     picture.width != lastPictureWidth_ || picture.height != lastPictureHeight_;
  if (surface.fresh || moved) {
    for (int y = 0; y < surface.height; ++y)
      std::fill_n(surface.pixels + static_cast<size_t>(y) * surface.pitch, surface.width, 0u);
    lastBox_ = box;
    lastPictureWidth_ = picture.width;
    lastPictureHeight_ = picture.height;
    // Where each pixel of the box samples the picture, as GL's linear filter about texel
    // centres does at the coordinate the sharp scale moves it to (clamped at the edges).
    const auto taps = [&box](int pictureSide, int boxSide, std::vector<Tap>& out) {
      out.resize(static_cast<size_t>(std::max(0, boxSide)));
      const double scale = static_cast<double>(boxSide) / pictureSide;
      for (int i = 0; i < boxSide; ++i) {
        double at = (i + 0.5) / scale;
        if (box.scaling == Scaling::kSharp) at = SharpTexel(at, scale);
        at -= 0.5;
        int first = static_cast<int>(std::floor(at));
        uint32_t weight = static_cast<uint32_t>(std::lround((at - first) * 256));
        if (weight == 256) ++first, weight = 0;
        Tap& tap = out[static_cast<size_t>(i)];
        tap.first = std::clamp(first, 0, pictureSide - 1);
        tap.second = std::clamp(first + 1, 0, pictureSide - 1);
        tap.weight = tap.first == tap.second ? 0 : weight;
      }
    };
    if (box.scaling != Scaling::kWhole && box.width > 0) {
      std::vector<Tap> columns;
      taps(picture.width, box.width, columns);
      columns_.clear();
      for (const Tap& tap : columns) {
        if (tap.weight == 0 && !columns_.empty() && columns_.back().weight == 0 &&
            columns_.back().first == tap.first) {
          ++columns_.back().count;
        } else {
          columns_.push_back({tap.first, tap.second, tap.weight, 1});
        }
      }
      taps(picture.height, box.height, rows_);
    }
  }
  if (box.width <= 0 || box.height <= 0) return;
  if (box.scaling == Scaling::kWhole) {
    ShowWhole(picture, surface, box);
  } else {
    ShowFiltered(picture, surface, box);
  }
}

void SurfacePresenter::ShowWhole(const CpuPicture& picture, const platform::SurfacePixels& surface,
                                 const Letterbox& box) {
  // The width is held locally: the stores into the surface could otherwise change it as far
  // as the compiler knows, and no loop below would become vector code.
  const int width = picture.width;
  row_.resize(static_cast<size_t>(width));
  const int rs = surface.redShift, gs = surface.greenShift, bs = surface.blueShift;
  const int scale = box.width / width;
  uint32_t* previous = nullptr;
  for (int y = 0; y < box.height; ++y) {
    uint32_t* out = surface.pixels + static_cast<size_t>(box.y + y) * surface.pitch + box.x;
    if (y % scale != 0) {
      std::memcpy(out, previous, static_cast<size_t>(box.width) * 4);
      continue;
    }
    const uint32_t* in = picture.pixels + static_cast<size_t>(y / scale) * width;
    previous = out;
    // X11's usual 24-bit visual at scale 1 or 2: red and blue change places straight into the
    // surface (loops the compiler vectorises).
    const bool usual = rs == 16 && gs == 8 && bs == 0;
    const auto swap = [](uint32_t p) {
      return (p & 0xFF) << 16 | (p & 0xFF00) | ((p >> 16) & 0xFF);
    };
    if (usual && scale == 1) {
      for (int x = 0; x < width; ++x)
        out[x] = swap(in[x]);
      continue;
    }
    if (usual && scale == 2) {
      for (int x = 0; x < width; ++x)
        out[2 * x] = out[2 * x + 1] = swap(in[x]);
      continue;
    }
    for (int x = 0; x < width; ++x)
      row_[static_cast<size_t>(x)] = usual ? swap(in[x]) : Convert(in[x], rs, gs, bs);
    uint32_t* o = out;
    for (int x = 0; x < width; ++x, o += scale)
      std::fill_n(o, scale, row_[static_cast<size_t>(x)]);
  }
}

const uint32_t* SurfacePresenter::ScaledRow(const CpuPicture& picture,
                                            const platform::SurfacePixels& surface, int row,
                                            const uint32_t* keep) {
  for (int i = 0; i < 2; ++i) {
    if (scaledRow_[i] == row) return scaled_[i].data();
  }
  const int slot = keep == scaled_[0].data() ? 1 : 0;
  std::vector<uint32_t>& scaled = scaled_[slot];
  scaledRow_[slot] = row;
  const int width = picture.width;  // held locally, as in ShowWhole
  const uint32_t* in = picture.pixels + static_cast<size_t>(row) * width;
  if (surface.redShift == 16 && surface.greenShift == 8 && surface.blueShift == 0) {
    // X11's usual visual: red and blue change places, eight pixels at a time through a local
    // block (vector lanes).
    int x = 0;
    for (; x + 8 <= width; x += 8) {
      uint32_t block[8];
      std::memcpy(block, in + x, sizeof block);
      for (uint32_t& p : block)
        p = Convert(p, 16, 8, 0);
      std::memcpy(row_.data() + x, block, sizeof block);
    }
    for (; x < width; ++x)
      row_[static_cast<size_t>(x)] = Convert(in[x], 16, 8, 0);
  } else {
    for (int x = 0; x < width; ++x)
      row_[static_cast<size_t>(x)] =
          Convert(in[x], surface.redShift, surface.greenShift, surface.blueShift);
  }
  uint32_t* out = scaled.data();
  for (const Run& run : columns_) {
    const uint32_t p = row_[static_cast<size_t>(run.first)];
    if (run.weight == 0) {
      for (int n = 0; n < run.count; ++n)
        *out++ = p;
    } else {
      *out++ = Mix(p, row_[static_cast<size_t>(run.second)], run.weight);
    }
  }
  return scaled.data();
}

// Each picture row needed is filtered across once, into one of two rows of the box's width;
// each row of the box is then one of them or the two mixed.
void SurfacePresenter::ShowFiltered(const CpuPicture& picture,
                                    const platform::SurfacePixels& surface, const Letterbox& box) {
  row_.resize(static_cast<size_t>(picture.width));
  for (int i = 0; i < 2; ++i) {
    scaled_[i].resize(static_cast<size_t>(box.width));
    scaledRow_[i] = -1;  // the picture is new each frame
  }
  for (int y = 0; y < box.height; ++y) {
    uint32_t* out = surface.pixels + static_cast<size_t>(box.y + y) * surface.pitch + box.x;
    const Tap& tap = rows_[static_cast<size_t>(y)];
    const uint32_t* first = ScaledRow(picture, surface, tap.first, nullptr);
    if (tap.weight == 0) {
      std::memcpy(out, first, static_cast<size_t>(box.width) * 4);
      continue;
    }
    const uint32_t* second = ScaledRow(picture, surface, tap.second, first);
    MixRows(first, second, tap.weight, out, box.width);
  }
}

}  // namespace zrb::graphics
