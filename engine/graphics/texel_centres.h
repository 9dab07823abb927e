// Whether a textured quad, drawn into a picture whose pixels it addresses one to one, takes
// every pixel's colour from a single texel centre. Such a draw looks the same whichever
// filter the texture uses, so the cheaper nearest filter may stand in for the linear one,
// and the texels it can show are known exactly.
#pragma once

#include <array>
#include <optional>

#include "engine/graphics/renderer.h"

namespace zrb::graphics {

// A rectangle of texels: columns [left, right), rows [bottom, top) counted from texture
// coordinate 0 in texels. May reach outside the texture (the wrap mode then decides).
struct TexelRect {
  long left = 0;
  long bottom = 0;
  long right = 0;
  long top = 0;

  bool operator==(const TexelRect&) const = default;
};

// Where such a quad puts its texels: the texel corner (s, t) lands on the picture point
// (x0 + xs * s + xt * t, y0 + ys * s + yt * t). Each factor is -1, 0 or 1, one texel per
// pixel, mirrored or turned by quarter turns.
struct TexelMapping {
  TexelRect texels;  // everything the quad shows
  double x0 = 0;
  double y0 = 0;
  int xs = 1;
  int xt = 0;
  int ys = 0;
  int yt = 1;

  // A quad showing only `part` of the texels, each where the whole quad puts it.
  std::array<QuadVertex, 4> Corners(const TexelRect& part, int textureWidth,
                                    int textureHeight) const;
};

// The mapping, when the quad is an axis-aligned rectangle with whole-number corners whose
// texture coordinates, counted in texels, are whole numbers and advance by one texel per
// pixel. Whole-pixel DrawSprite and DrawAnim quads are such; a RotoZoomAnim quad (inset by
// half a texel) never is.
std::optional<TexelMapping> MapTexelsOneToOne(const TexturedQuad& quad, int textureWidth,
                                              int textureHeight);

}  // namespace zrb::graphics
