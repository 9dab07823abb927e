// Where the logical picture lands in a window's drawable: as large as fits with its aspect
// kept, centred, the rest black bars.
#pragma once

namespace zrb::graphics {

struct Letterbox {
  int x = 0;  // from the drawable's left and bottom edges, as GL counts
  int y = 0;
  int width = 0;
  int height = 0;
  bool wholeScale = false;  // an exact multiple of the picture: sample nearest texels
};

Letterbox FitPicture(int pictureWidth, int pictureHeight, int drawableWidth, int drawableHeight);

}  // namespace zrb::graphics
