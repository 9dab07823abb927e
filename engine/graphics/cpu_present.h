// The processor-drawn picture shown in a window's surface where LayOutPicture puts it, as the
// GL renderer shows its own: the largest whole multiple, each pixel a square block (nearest),
// centred, black around; where that leaves most of the surface black (1366 x 768) as large as
// fits with the sharp scale (SharpTexel on each axis, then linear); smaller than the picture,
// fitted and filtered linearly. Filtered pixels mix with 8-bit weights, as GL's drivers do.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/graphics/cpu_raster.h"
#include "engine/graphics/letterbox.h"
#include "engine/platform/window_surface.h"

namespace zrb::graphics {

// The picture's place in a surface, rows counted from the top: LayOutPicture's box, on the
// same surface pixels as GL's (whose rows count from the bottom).
Letterbox SurfaceBox(int pictureWidth, int pictureHeight, int surfaceWidth, int surfaceHeight);

class SurfacePresenter {
 public:
  // Writes the picture into `surface`; the bars are painted black when the surface is new or
  // the picture's place in it moved.
  void Show(const CpuPicture& picture, const platform::SurfacePixels& surface);

 private:
  // For one pixel of the box on an axis: the two picture pixels it mixes, the second weighted
  // `weight` of 256.
  struct Tap {
    int first = 0;
    int second = 0;
    uint32_t weight = 0;
  };

  void ShowWhole(const CpuPicture& picture, const platform::SurfacePixels& surface,
                 const Letterbox& box);
  void ShowFiltered(const CpuPicture& picture, const platform::SurfacePixels& surface,
                    const Letterbox& box);
  // Picture row `row` converted and filtered across into one of the two scaled rows, `keep`
  // left alone; returns it.
  const uint32_t* ScaledRow(const CpuPicture& picture, const platform::SurfacePixels& surface,
                            int row, const uint32_t* keep);

  Letterbox lastBox_;
  int lastPictureWidth_ = 0;
  int lastPictureHeight_ = 0;
  // The box's columns as runs: `count` columns showing picture column `first` alone, or one
  // column mixing it with `second`.
  struct Run {
    int first = 0;
    int second = 0;
    uint32_t weight = 0;
    int count = 1;
  };
  std::vector<Run> columns_;
  std::vector<Tap> rows_;            // per row of the box
  std::vector<uint32_t> row_;        // one picture row in the surface's format
  std::vector<uint32_t> scaled_[2];  // picture rows filtered to the box's width
  int scaledRow_[2] = {-1, -1};      // which picture row each holds
};

}  // namespace zrb::graphics
