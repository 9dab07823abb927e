#include "engine/platform/picture_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zrb::platform {

Letterbox FitPicture(int pictureWidth, int pictureHeight, int drawableWidth, int drawableHeight) {
  Letterbox box;
  if (pictureWidth <= 0 || pictureHeight <= 0 || drawableWidth <= 0 || drawableHeight <= 0) {
    return box;
  }
  if (int64_t{drawableWidth} * pictureHeight <= int64_t{drawableHeight} * pictureWidth) {
    box.width = drawableWidth;
    box.height = static_cast<int>(int64_t{drawableWidth} * pictureHeight / pictureWidth);
  } else {
    box.height = drawableHeight;
    box.width = static_cast<int>(int64_t{drawableHeight} * pictureWidth / pictureHeight);
  }
  box.x = (drawableWidth - box.width) / 2;
  box.y = (drawableHeight - box.height) / 2;
  box.wholeScale = box.width % pictureWidth == 0 && box.height % pictureHeight == 0 &&
                   box.width / pictureWidth == box.height / pictureHeight;
  box.scaling = box.wholeScale                ? Scaling::kWhole
                : box.height >= pictureHeight ? Scaling::kSharp
                                              : Scaling::kSmooth;
  return box;
}

Letterbox LayOutPicture(int pictureWidth, int pictureHeight, int drawableWidth,
                        int drawableHeight) {
  const Letterbox fitted = FitPicture(pictureWidth, pictureHeight, drawableWidth, drawableHeight);
  if (fitted.width <= 0) return fitted;
  const int whole = std::min(drawableWidth / pictureWidth, drawableHeight / pictureHeight);
  // Three quarters of the fitted height: at 1920 x 1080 the 2 x picture (960 of 1080 rows)
  // stays whole; at 1366 x 768 the 1 x picture (480 of 768) gives way to the sharp scale.
  if (whole < 1 || int64_t{whole} * pictureHeight * 4 < int64_t{fitted.height} * 3) return fitted;
  Letterbox box;
  box.width = pictureWidth * whole;
  box.height = pictureHeight * whole;
  box.x = (drawableWidth - box.width) / 2;
  box.y = (drawableHeight - box.height) / 2;
  box.wholeScale = true;
  box.scaling = Scaling::kWhole;
  return box;
}

double SharpTexel(double texel, double pixelsPerTexel) {
  const double fromCentre = texel - 0.5;
  const double left = std::floor(fromCentre);
  const double across = std::clamp((fromCentre - left - 0.5) * pixelsPerTexel + 0.5, 0.0, 1.0);
  return left + 0.5 + across;
}

}  // namespace zrb::platform
