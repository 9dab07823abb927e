#include "engine/graphics/cpu_present.h"

#include <algorithm>
#include <cstring>

namespace zrb::graphics {

Letterbox SurfaceBox(int pictureWidth, int pictureHeight, int surfaceWidth, int surfaceHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return Letterbox{};
  const int scale = std::min(surfaceWidth / pictureWidth, surfaceHeight / pictureHeight);
  if (scale < 1) return FitPicture(pictureWidth, pictureHeight, surfaceWidth, surfaceHeight);
  Letterbox box;
  box.width = pictureWidth * scale;
  box.height = pictureHeight * scale;
  box.x = (surfaceWidth - box.width) / 2;
  box.y = (surfaceHeight - box.height) / 2;
  box.wholeScale = true;
  return box;
}

void SurfacePresenter::Show(const CpuPicture& picture, const platform::SurfacePixels& surface) {
  const Letterbox box = SurfaceBox(picture.width, picture.height, surface.width, surface.height);
  const bool moved = box.x != lastBox_.x || box.y != lastBox_.y || box.width != lastBox_.width ||
                     box.height != lastBox_.height;
  if (surface.fresh || moved) {
    for (int y = 0; y < surface.height; ++y)
      std::fill_n(surface.pixels + static_cast<size_t>(y) * surface.pitch, surface.width, 0u);
    lastBox_ = box;
    sourceColumn_.resize(static_cast<size_t>(std::max(0, box.width)));
    for (int x = 0; x < box.width; ++x)
      sourceColumn_[static_cast<size_t>(x)] =
          static_cast<int>(static_cast<int64_t>(x) * picture.width / box.width);
  }
  if (box.width <= 0 || box.height <= 0) return;
  row_.resize(static_cast<size_t>(picture.width));
  const int rs = surface.redShift, gs = surface.greenShift, bs = surface.blueShift;
  const int scale = box.wholeScale ? box.width / picture.width : 0;
  int lastSource = -1;
  uint32_t* previous = nullptr;
  for (int y = 0; y < box.height; ++y) {
    uint32_t* out = surface.pixels + static_cast<size_t>(box.y + y) * surface.pitch + box.x;
    const int source = static_cast<int>(static_cast<int64_t>(y) * picture.height / box.height);
    if (source == lastSource && previous) {
      std::memcpy(out, previous, static_cast<size_t>(box.width) * 4);
      continue;
    }
    const uint32_t* in = picture.pixels + static_cast<size_t>(source) * picture.width;
    lastSource = source;
    previous = out;
    // X11's usual 24-bit visual at scale 1 or 2: red and blue change places straight into the
    // surface (loops the compiler vectorises).
    const bool usual = rs == 16 && gs == 8 && bs == 0;
    const auto swap = [](uint32_t p) {
      return (p & 0xFF) << 16 | (p & 0xFF00) | ((p >> 16) & 0xFF);
    };
    if (usual && scale == 1) {
      for (int x = 0; x < picture.width; ++x)
        out[x] = swap(in[x]);
      continue;
    }
    if (usual && scale == 2) {
      for (int x = 0; x < picture.width; ++x)
        out[2 * x] = out[2 * x + 1] = swap(in[x]);
      continue;
    }
    if (usual) {
      for (int x = 0; x < picture.width; ++x)
        row_[static_cast<size_t>(x)] = swap(in[x]);
    } else {
      for (int x = 0; x < picture.width; ++x) {
        const uint32_t p = in[x];
        row_[static_cast<size_t>(x)] =
            (p & 0xFF) << rs | ((p >> 8) & 0xFF) << gs | ((p >> 16) & 0xFF) << bs;
      }
    }
    if (scale == 1) {
      std::memcpy(out, row_.data(), static_cast<size_t>(box.width) * 4);
    } else if (scale > 1) {
      uint32_t* o = out;
      for (int x = 0; x < picture.width; ++x, o += scale)
        std::fill_n(o, scale, row_[static_cast<size_t>(x)]);
    } else {
      for (int x = 0; x < box.width; ++x)
        out[x] = row_[static_cast<size_t>(sourceColumn_[static_cast<size_t>(x)])];
    }
  }
}

}  // namespace zrb::graphics
