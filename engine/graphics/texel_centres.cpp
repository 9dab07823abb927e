#include "engine/graphics/texel_centres.h"

#include <algorithm>
#include <cmath>

namespace zrb::graphics {
namespace {

// Whole numbers of a size any texture or picture coordinate can have.
bool Whole(double value) {
  return std::fabs(value) < 1e9 && value == std::floor(value);
}

// A texture coordinate counted in texels is whole when it lies within a thousandth of a texel
// of a whole number: u is a float fraction of the width, so a strip frame's edge in a texture
// whose width is not a power of two (32 / 224) comes back a few millionths off. Nearest and
// linear filtering give the same texel at a pixel centre that far from a texel centre.
bool NearlyWhole(double& value) {
  constexpr double kTolerance = 1.0 / 1024;
  const double nearest = std::round(value);
  if (std::fabs(value) >= 1e9 || std::fabs(value - nearest) > kTolerance) return false;
  value = nearest;
  return true;
}

int Sign(double value) {
  return (value > 0) - (value < 0);
}

}  // namespace

std::array<QuadVertex, 4> TexelMapping::Corners(const TexelRect& part, int textureWidth,
                                                int textureHeight) const {
  const double s[4] = {static_cast<double>(part.left), static_cast<double>(part.right),
                       static_cast<double>(part.right), static_cast<double>(part.left)};
  const double t[4] = {static_cast<double>(part.bottom), static_cast<double>(part.bottom),
                       static_cast<double>(part.top), static_cast<double>(part.top)};
  std::array<QuadVertex, 4> corners;
  for (int i = 0; i < 4; ++i) {
    corners[i].x = static_cast<float>(x0 + xs * s[i] + xt * t[i]);
    corners[i].y = static_cast<float>(y0 + ys * s[i] + yt * t[i]);
    corners[i].u = static_cast<float>(s[i] / textureWidth);
    corners[i].v = static_cast<float>(t[i] / textureHeight);
  }
  return corners;
}

std::optional<TexelMapping> MapTexelsOneToOne(const TexturedQuad& quad, int textureWidth,
                                              int textureHeight) {
  if (textureWidth <= 0 || textureHeight <= 0) return std::nullopt;
  double x[4], y[4], s[4], t[4];  // s, t: texture coordinates in texels
  for (int i = 0; i < 4; ++i) {
    const QuadVertex& corner = quad.corners[i];
    x[i] = corner.x;
    y[i] = corner.y;
    s[i] = static_cast<double>(corner.u) * textureWidth;
    t[i] = static_cast<double>(corner.v) * textureHeight;
    if (!Whole(x[i]) || !Whole(y[i]) || !NearlyWhole(s[i]) || !NearlyWhole(t[i])) {
      return std::nullopt;
    }
  }
  // The two triangles of the fan must share one mapping from the picture to the texture:
  // opposite edges carry the same change.
  if (x[1] - x[0] != x[2] - x[3] || y[1] - y[0] != y[2] - y[3] || s[1] - s[0] != s[2] - s[3] ||
      t[1] - t[0] != t[2] - t[3]) {
    return std::nullopt;
  }
  // Each edge runs along one axis of the picture and one axis of the texture, as many
  // texels as pixels.
  for (int i = 0; i < 4; ++i) {
    const int j = (i + 1) % 4;
    const double dx = x[j] - x[i], dy = y[j] - y[i];
    const double ds = s[j] - s[i], dt = t[j] - t[i];
    if ((dx != 0) == (dy != 0) || (ds != 0) == (dt != 0)) return std::nullopt;
    if (std::fabs(dx) + std::fabs(dy) != std::fabs(ds) + std::fabs(dt)) return std::nullopt;
  }
  // Consecutive edges must turn in both: picture x pairs with one texture axis, y with the
  // other. Otherwise one texture axis would advance along both picture axes and pixel
  // centres would land between texels.
  const bool turnsInPicture = (x[1] != x[0]) != (x[2] != x[1]);
  const bool turnsInTexture = (s[1] != s[0]) != (s[2] != s[1]);
  if (!turnsInPicture || !turnsInTexture) return std::nullopt;

  TexelMapping mapping;
  // Of the first two edges one moves along s, the other along t.
  const int sEdge = s[1] != s[0] ? 0 : 1;
  const int tEdge = 1 - sEdge;
  const double ds = s[sEdge + 1] - s[sEdge], dt = t[tEdge + 1] - t[tEdge];
  mapping.xs = Sign((x[sEdge + 1] - x[sEdge]) / ds);
  mapping.ys = Sign((y[sEdge + 1] - y[sEdge]) / ds);
  mapping.xt = Sign((x[tEdge + 1] - x[tEdge]) / dt);
  mapping.yt = Sign((y[tEdge + 1] - y[tEdge]) / dt);
  mapping.x0 = x[0] - mapping.xs * s[0] - mapping.xt * t[0];
  mapping.y0 = y[0] - mapping.ys * s[0] - mapping.yt * t[0];
  const auto [sMin, sMax] = std::minmax({s[0], s[1], s[2], s[3]});
  const auto [tMin, tMax] = std::minmax({t[0], t[1], t[2], t[3]});
  mapping.texels = TexelRect{static_cast<long>(sMin), static_cast<long>(tMin),
                             static_cast<long>(sMax), static_cast<long>(tMax)};
  return mapping;
}

}  // namespace zrb::graphics
