// The processor-drawn picture shown in a window's surface: the largest whole multiple of the
// picture that fits, each pixel a square block (nearest), centred, black around. A window
// smaller than the picture shows it shrunk to fit (FitPicture), still nearest.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/graphics/cpu_raster.h"
#include "engine/graphics/letterbox.h"
#include "engine/platform/window_surface.h"

namespace zrb::graphics {

// The picture's place in a surface, rows counted from the top.
Letterbox SurfaceBox(int pictureWidth, int pictureHeight, int surfaceWidth, int surfaceHeight);

class SurfacePresenter {
 public:
  // Writes the picture into `surface`; the bars are painted black when the surface is new or
  // the picture's place in it moved.
  void Show(const CpuPicture& picture, const platform::SurfacePixels& surface);

 private:
  Letterbox lastBox_;
  std::vector<int> sourceColumn_;  // per column of the box
  std::vector<uint32_t> row_;      // one picture row in the surface's format
};

}  // namespace zrb::graphics
