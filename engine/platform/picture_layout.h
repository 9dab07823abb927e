// Where the logical picture lands in a window's drawable, and how it is scaled there. One rule
// for the renderers and for the window's own size, so it lives beside the window.
#pragma once

namespace zrb::platform {

// How the picture's pixels are carried onto the drawable's.
enum class Scaling {
  kWhole,   // a whole multiple: each picture pixel an n x n block, nearest sampling
  kSharp,   // a larger fractional scale: blocks of whole pixels, at most one smoothed pixel
            // between two neighbours (SharpTexel), linear sampling at the moved coordinates
  kSmooth,  // smaller than the picture: filtered linearly
};

struct Letterbox {
  int x = 0;  // from the drawable's left and bottom edges, as GL counts
  int y = 0;
  int width = 0;
  int height = 0;
  bool wholeScale = false;  // an exact multiple of the picture: sample nearest texels
  Scaling scaling = Scaling::kSmooth;
};

// As large as fits with the aspect kept, centred, the rest black bars.
Letterbox FitPicture(int pictureWidth, int pictureHeight, int drawableWidth, int drawableHeight);

// The picture's place in a window or on a screen: the largest whole multiple that fits,
// centred, black around it; where that would fill less than three quarters of what the
// fitted picture fills (a 1366 x 768 or 1280 x 800 screen, where only 1 x fits), the fitted
// size with the sharp scale instead; smaller than the picture, fitted and smoothed.
Letterbox LayOutPicture(int pictureWidth, int pictureHeight, int drawableWidth, int drawableHeight);

// The sharp scale on one axis: for a drawable pixel whose centre lies at `texel` (in picture
// pixels, pixel k covering k..k+1) at `pixelsPerTexel` (at least 1), the coordinate at which
// linear sampling gives its colour. Within a picture pixel it is that pixel's centre, so the
// colour is the pixel's own; only the drawable pixel on the border between two picture pixels
// mixes them, by how far its centre lies across it.
double SharpTexel(double texel, double pixelsPerTexel);

}  // namespace zrb::platform
