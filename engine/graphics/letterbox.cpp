#include "engine/graphics/letterbox.h"

#include <cstdint>

namespace zrb::graphics {

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
  return box;
}

}  // namespace zrb::graphics
