#include "engine/graphics/cpu_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zrb::graphics {
namespace {

// Positions in 1/256 pixel, as the rasteriser of the GL path snaps them. Far beyond any
// picture a vertex is held at a million pixels, where the products below stay in 64 bits.
constexpr double kSubpixels = 256;
constexpr double kFarthest = 1 << 20;
// Texel coordinates in 16.16 fixed point.
constexpr double kOne = 65536;
// The alpha test passes texel alpha (0..255) x draw alpha (16.16) above 0.05.
constexpr uint32_t kAlphaTestFloor = 835584;  // 0.05 x 255 x 65536 = 12.75 x 65536

struct Point {
  int64_t x = 0;
  int64_t y = 0;
};

int64_t CeilDiv(int64_t a, int64_t b) {  // b > 0
  const int64_t q = a / b;
  return (a % b != 0 && a > 0) ? q + 1 : q;
}

bool Snap(float x, float y, Point* point) {
  if (!std::isfinite(x) || !std::isfinite(y)) return false;
  point->x = std::llround(std::clamp(static_cast<double>(x), -kFarthest, kFarthest) * kSubpixels);
  point->y = std::llround(std::clamp(static_cast<double>(y), -kFarthest, kFarthest) * kSubpixels);
  return true;
}

// The first column whose pixel centre lies at or right of the edge a-b (a above b) on the
// row whose centre is `yc`; the same column ends a span whose right edge this is.
int64_t EdgeColumn(const Point& a, const Point& b, int64_t yc) {
  const int64_t dy = b.y - a.y;
  const int64_t across = a.x * dy + (yc - a.y) * (b.x - a.x);
  return CeilDiv(across - 128 * dy, 256 * dy);
}

// Calls span(row, first, end) for each row's run of covered pixels inside the picture.
template <typename Span>
void ForEachSpan(Point p[3], int width, int height, Span&& span) {
  // Sorted by y, then x: an edge two triangles share is worked out the same way for both.
  std::sort(p, p + 3,
            [](const Point& a, const Point& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  const Point& top = p[0];
  const Point& mid = p[1];
  const Point& bottom = p[2];
  if (top.y == bottom.y) return;
  const int64_t cross = (mid.x - top.x) * (bottom.y - top.y) - (mid.y - top.y) * (bottom.x - top.x);
  if (cross == 0) return;
  const bool shortOnRight = cross > 0;
  const int64_t firstRow = std::max<int64_t>(0, CeilDiv(top.y - 128, 256));
  const int64_t endRow = std::min<int64_t>(height, CeilDiv(bottom.y - 128, 256));
  for (int64_t row = firstRow; row < endRow; ++row) {
    const int64_t yc = row * 256 + 128;
    const int64_t along = EdgeColumn(top, bottom, yc);
    const int64_t across = yc < mid.y ? EdgeColumn(top, mid, yc) : EdgeColumn(mid, bottom, yc);
    int64_t first = shortOnRight ? along : across;
    int64_t end = shortOnRight ? across : along;
    first = std::max<int64_t>(first, 0);
    end = std::min<int64_t>(end, width);
    if (first < end) span(static_cast<int>(row), static_cast<int>(first), static_cast<int>(end));
  }
}

// --- pixel arithmetic, two channels at a time in the lanes of a word -------------------------

constexpr uint32_t kLanes = 0x00FF00FF;

// x x f / 255 per channel, rounded as an 8-bit blender rounds.
inline uint32_t Scale(uint32_t x, uint32_t f) {
  uint32_t rb = (x & kLanes) * f + 0x00800080;
  rb = ((rb + ((rb >> 8) & kLanes)) >> 8) & kLanes;
  uint32_t ag = ((x >> 8) & kLanes) * f + 0x00800080;
  ag = (ag + ((ag >> 8) & kLanes)) & ~kLanes;
  return rb | ag;
}

// p + (q - p) x f / 256, f in 0..256.
inline uint32_t Lerp(uint32_t p, uint32_t q, uint32_t f) {
  const uint32_t g = 256 - f;
  const uint32_t rb = (((p & kLanes) * g + (q & kLanes) * f + 0x00800080) >> 8) & kLanes;
  const uint32_t ag = (((p >> 8) & kLanes) * g + ((q >> 8) & kLanes) * f + 0x00800080) & ~kLanes;
  return rb | ag;
}

inline uint32_t SaturatingAdd(uint32_t a, uint32_t b) {
  uint32_t rb = (a & kLanes) + (b & kLanes);
  uint32_t ag = ((a >> 8) & kLanes) + ((b >> 8) & kLanes);
  rb |= (rb & 0x01000100) - ((rb & 0x01000100) >> 8);
  ag |= (ag & 0x01000100) - ((ag & 0x01000100) >> 8);
  return (rb & kLanes) | ((ag & kLanes) << 8);
}

template <BlendMode kBlend>
inline uint32_t Blend(uint32_t source, uint32_t destination) {
  if constexpr (kBlend == BlendMode::kOff) {
    return source;
  } else {
    const uint32_t alpha = source >> 24;
    if constexpr (kBlend == BlendMode::kTranslucent) {
      return Scale(source, alpha) + Scale(destination, 255 - alpha);
    } else {
      return SaturatingAdd(Scale(source, alpha), destination);
    }
  }
}

// --- sampling ----------------------------------------------------------------------------

struct LevelView {
  const uint32_t* texels = nullptr;
  int width = 0;
  int height = 0;
  int64_t widthMask = -1;  // width - 1 for a power of two, else -1
  int64_t heightMask = -1;
  bool repeat = true;
  const CellCover* cells = nullptr;  // the base level's, else nullptr
  int cellColumns = 0;
};

LevelView ViewOf(const CpuTextureLevel& level, TextureWrap wrap) {
  LevelView view;
  view.texels = level.texels->data();
  view.width = level.width;
  view.height = level.height;
  auto maskOf = [](int side) -> int64_t { return (side & (side - 1)) == 0 ? side - 1 : -1; };
  view.widthMask = maskOf(level.width);
  view.heightMask = maskOf(level.height);
  view.repeat = wrap == TextureWrap::kRepeat;
  return view;
}

inline int64_t Wrap(int64_t i, int size, int64_t mask, bool repeat) {
  if (repeat) return mask >= 0 ? (i & mask) : ((i % size) + size) % size;
  return i < 0 ? 0 : (i >= size ? size - 1 : i);
}

inline uint32_t Texel(const LevelView& level, int64_t i, int64_t j) {
  i = Wrap(i, level.width, level.widthMask, level.repeat);
  j = Wrap(j, level.height, level.heightMask, level.repeat);
  return level.texels[j * level.width + i];
}

inline uint32_t Nearest(const LevelView& level, int64_t s, int64_t t) {
  return Texel(level, s >> 16, t >> 16);
}

// Bilinear about texel centres, with 8 bits of weight as the GL path's sampler keeps.
inline uint32_t Bilinear(const LevelView& level, int64_t s, int64_t t) {
  s -= 1 << 15;
  t -= 1 << 15;
  const int64_t i = s >> 16, j = t >> 16;
  const auto fs = static_cast<uint32_t>((s >> 8) & 0xFF);
  const auto ft = static_cast<uint32_t>((t >> 8) & 0xFF);
  const uint32_t a = Texel(level, i, j), b = Texel(level, i + 1, j);
  const uint32_t c = Texel(level, i, j + 1), d = Texel(level, i + 1, j + 1);
  return Lerp(Lerp(a, b, fs), Lerp(c, d, fs), ft);
}

enum class Filter { kNearest, kLinear, kTrilinear };

struct Shading {
  std::array<uint32_t, 4> factor{};  // the draw colour, 16.16, 0..65536
  bool alphaTest = true;
};

// Where a span starts in the texture, and the step per pixel, in 16.16 texels of a level.
struct Walk {
  int64_t s = 0, t = 0, ds = 0, dt = 0;
};

// One texel row in, a run of pixels out; the shading of a straight run.
template <BlendMode kBlend, bool kTest, bool kTint>
inline void ShadeRun(uint32_t* out, const uint32_t* in, int count, const Shading& shading) {
  if constexpr (kBlend == BlendMode::kOff && !kTest && !kTint) {
    std::memcpy(out, in, static_cast<size_t>(count) * 4);
    return;
  }
  for (int k = 0; k < count; ++k) {
    uint32_t texel = in[k];
    if constexpr (kTint) {
      texel = ((texel & 0xFF) * shading.factor[0] + 32768) >> 16 |
              ((((texel >> 8) & 0xFF) * shading.factor[1] + 32768) >> 16) << 8 |
              ((((texel >> 16) & 0xFF) * shading.factor[2] + 32768) >> 16) << 16 |
              (((texel >> 24) * shading.factor[3] + 32768) >> 16) << 24;
    }
    if constexpr (kTest) {
      const uint32_t alpha = kTint ? (in[k] >> 24) * shading.factor[3] : (in[k] >> 24) << 16;
      if (alpha <= kAlphaTestFloor) continue;
    }
    out[k] = Blend<kBlend>(texel, out[k]);
  }
}

template <Filter kFilter, BlendMode kBlend, bool kTest, bool kTint>
void DrawSpan(uint32_t* out, int count, const LevelView& level, Walk walk, const LevelView& next,
              Walk nextWalk, uint32_t levelWeight, const Shading& shading) {
  // A run along one texture row, inside it: the texels are read straight from the row.
  if constexpr (kFilter == Filter::kNearest) {
    const int64_t i = walk.s >> 16, j = walk.t >> 16;
    if (walk.ds == 65536 && walk.dt == 0 && i >= 0 && i + count <= level.width && j >= 0 &&
        j < level.height) {
      const uint32_t* in = level.texels + j * level.width + i;
      // Clear cells change nothing when the test rejects them or they blend in at alpha 0;
      // solid ones pass the test untinted.
      constexpr bool kClearSkips = kTest || kBlend != BlendMode::kOff;
      if (!level.cells || !kClearSkips) {
        ShadeRun<kBlend, kTest, kTint>(out, in, count, shading);
        return;
      }
      const CellCover* cells = level.cells + (j / kCpuCell) * level.cellColumns;
      for (int k = 0; k < count;) {
        const auto column = static_cast<int>(i) + k;
        const int run = std::min(count - k, kCpuCell - column % kCpuCell);
        const CellCover cover = cells[column / kCpuCell];
        if (cover == CellCover::kClear) {
          // nothing to draw
        } else if (cover == CellCover::kSolid && kTest && !kTint) {
          ShadeRun<kBlend, false, false>(out + k, in + k, run, shading);
        } else {
          ShadeRun<kBlend, kTest, kTint>(out + k, in + k, run, shading);
        }
        k += run;
      }
      return;
    }
  }
  for (int k = 0; k < count; ++k) {
    uint32_t texel;
    if constexpr (kFilter == Filter::kNearest) {
      texel = Nearest(level, walk.s, walk.t);
    } else if constexpr (kFilter == Filter::kLinear) {
      texel = Bilinear(level, walk.s, walk.t);
    } else {
      texel = Lerp(Bilinear(level, walk.s, walk.t), Bilinear(next, nextWalk.s, nextWalk.t),
                   levelWeight);
      nextWalk.s += nextWalk.ds;
      nextWalk.t += nextWalk.dt;
    }
    walk.s += walk.ds;
    walk.t += walk.dt;
    const uint32_t rawAlpha = kTint ? (texel >> 24) * shading.factor[3] : (texel >> 24) << 16;
    if constexpr (kTint) {
      texel = ((texel & 0xFF) * shading.factor[0] + 32768) >> 16 |
              ((((texel >> 8) & 0xFF) * shading.factor[1] + 32768) >> 16) << 8 |
              ((((texel >> 16) & 0xFF) * shading.factor[2] + 32768) >> 16) << 16 |
              ((rawAlpha + 32768) >> 16) << 24;
    }
    if constexpr (kTest) {
      if (rawAlpha <= kAlphaTestFloor) continue;
    }
    out[k] = Blend<kBlend>(texel, out[k]);
  }
}

using SpanFunction = void (*)(uint32_t*, int, const LevelView&, Walk, const LevelView&, Walk,
                              uint32_t, const Shading&);

template <Filter kFilter, BlendMode kBlend>
SpanFunction PickTestAndTint(bool test, bool tint) {
  if (test)
    return tint ? DrawSpan<kFilter, kBlend, true, true> : DrawSpan<kFilter, kBlend, true, false>;
  return tint ? DrawSpan<kFilter, kBlend, false, true> : DrawSpan<kFilter, kBlend, false, false>;
}

template <Filter kFilter>
SpanFunction PickBlend(BlendMode blend, bool test, bool tint) {
  switch (blend) {
    case BlendMode::kOff:
      return PickTestAndTint<kFilter, BlendMode::kOff>(test, tint);
    case BlendMode::kAdditive:
      return PickTestAndTint<kFilter, BlendMode::kAdditive>(test, tint);
    case BlendMode::kTranslucent:
      break;
  }
  return PickTestAndTint<kFilter, BlendMode::kTranslucent>(test, tint);
}

SpanFunction PickSpan(Filter filter, BlendMode blend, bool test, bool tint) {
  switch (filter) {
    case Filter::kNearest:
      return PickBlend<Filter::kNearest>(blend, test, tint);
    case Filter::kLinear:
      return PickBlend<Filter::kLinear>(blend, test, tint);
    case Filter::kTrilinear:
      break;
  }
  return PickBlend<Filter::kTrilinear>(blend, test, tint);
}

// A texture coordinate (in texels of the base level) as a plane over the picture.
struct Plane {
  double atOrigin = 0, dx = 0, dy = 0;

  double At(double x, double y) const { return atOrigin + dx * x + dy * y; }
};

void DrawTriangle(const CpuPicture& picture, const CpuTexture& texture, const TexturedQuad& quad,
                  int a, int b, int c, bool nearest, const Shading& shading) {
  const QuadVertex* v[3] = {&quad.corners[a], &quad.corners[b], &quad.corners[c]};
  Point points[3];
  for (int i = 0; i < 3; ++i) {
    if (!Snap(v[i]->x, v[i]->y, &points[i])) return;
  }
  const CpuTextureLevel& base = texture.levels[0];
  const double x0 = v[0]->x, y0 = v[0]->y;
  const double ex1 = v[1]->x - x0, ey1 = v[1]->y - y0;
  const double ex2 = v[2]->x - x0, ey2 = v[2]->y - y0;
  const double det = ex1 * ey2 - ex2 * ey1;
  if (det == 0) return;
  auto planeOf = [&](double q0, double q1, double q2) {
    Plane plane;
    plane.dx = ((q1 - q0) * ey2 - (q2 - q0) * ey1) / det;
    plane.dy = ((q2 - q0) * ex1 - (q1 - q0) * ex2) / det;
    plane.atOrigin = q0 - plane.dx * x0 - plane.dy * y0;
    return plane;
  };
  const double w = base.width, h = base.height;
  const Plane s = planeOf(v[0]->u * w, v[1]->u * w, v[2]->u * w);
  const Plane t = planeOf(v[0]->v * h, v[1]->v * h, v[2]->v * h);

  // The level of detail is the same everywhere on an affine triangle.
  Filter filter = nearest ? Filter::kNearest : Filter::kLinear;
  size_t levelIndex = 0;
  uint32_t levelWeight = 0;
  if (texture.kind == TextureKind::kMipmapped && texture.levels.size() > 1 && !nearest) {
    const double rho = std::max(std::hypot(s.dx, t.dx), std::hypot(s.dy, t.dy));
    const double lambda = rho > 0 ? std::log2(rho) : 0;
    const auto last = static_cast<double>(texture.levels.size() - 1);
    if (lambda >= last) {
      levelIndex = texture.levels.size() - 1;
    } else if (lambda > 0) {
      levelIndex = static_cast<size_t>(lambda);
      levelWeight = static_cast<uint32_t>(std::lround((lambda - std::floor(lambda)) * 256));
      filter = Filter::kTrilinear;
    }
  }
  const CpuTextureLevel& level = texture.levels[levelIndex];
  const CpuTextureLevel& next = texture.levels[std::min(levelIndex + 1, texture.levels.size() - 1)];
  const LevelView levelView = ViewOf(level, quad.wrap);
  const LevelView nextView = ViewOf(next, quad.wrap);
  const double levelScale[2] = {level.width / w, level.height / h};
  const double nextScale[2] = {next.width / w, next.height / h};

  const bool tint = shading.factor != std::array<uint32_t, 4>{65536, 65536, 65536, 65536};
  const SpanFunction draw = PickSpan(filter, quad.blend, shading.alphaTest, tint);
  ForEachSpan(points, picture.width, picture.height, [&](int row, int first, int end) {
    const double cx = first + 0.5, cy = row + 0.5;
    const double sAt = s.At(cx, cy), tAt = t.At(cx, cy);
    auto walkOf = [&](const double scale[2]) {
      return Walk{std::llround(sAt * scale[0] * kOne), std::llround(tAt * scale[1] * kOne),
                  std::llround(s.dx * scale[0] * kOne), std::llround(t.dx * scale[1] * kOne)};
    };
    draw(picture.pixels + static_cast<size_t>(row) * picture.width + first, end - first, levelView,
         walkOf(levelScale), nextView, walkOf(nextScale), levelWeight, shading);
  });
}

LevelView BaseView(const CpuTexture& texture, TextureWrap wrap) {
  LevelView view = ViewOf(texture.levels[0], wrap);
  if (!texture.cells.empty()) {
    view.cells = texture.cells.data();
    view.cellColumns = (view.width + kCpuCell - 1) / kCpuCell;
  }
  return view;
}

Shading ShadingOf(const TexturedQuad& quad) {
  Shading shading;
  for (int i = 0; i < 4; ++i) {
    const float c = std::isfinite(quad.colour[i]) ? std::clamp(quad.colour[i], 0.0f, 1.0f) : 0.0f;
    shading.factor[i] = static_cast<uint32_t>(std::lround(c * kOne));
  }
  shading.alphaTest = quad.alphaTest;
  return shading;
}

bool Tinted(const Shading& shading) {
  return shading.factor != std::array<uint32_t, 4>{65536, 65536, 65536, 65536};
}

}  // namespace

std::vector<CellCover> CoverCells(const CpuTextureLevel& level) {
  const int width = level.width, height = level.height;
  const int columns = (width + kCpuCell - 1) / kCpuCell;
  const int rows = (height + kCpuCell - 1) / kCpuCell;
  std::vector<CellCover> cells(static_cast<size_t>(columns) * rows);
  if (!level.texels) return cells;
  const uint32_t* const texels = level.texels->data();
  // Per cell of a row of cells: the alpha bits any texel has and those every texel has.
  std::vector<uint32_t> any(static_cast<size_t>(columns)), all(static_cast<size_t>(columns));
  for (int row = 0; row < rows; ++row) {
    std::fill(any.begin(), any.end(), 0u);
    std::fill(all.begin(), all.end(), 0xFFu);
    for (int y = row * kCpuCell; y < std::min(height, (row + 1) * kCpuCell); ++y) {
      const uint32_t* const line = texels + static_cast<size_t>(y) * width;
      for (int column = 0; column < columns; ++column) {
        uint32_t some = 0, every = 0xFF;
        const int end = std::min(width, (column + 1) * kCpuCell);
        for (int x = column * kCpuCell; x < end; ++x) {
          some |= line[x] >> 24;
          every &= line[x] >> 24;
        }
        any[static_cast<size_t>(column)] |= some;
        all[static_cast<size_t>(column)] &= every;
      }
    }
    for (int column = 0; column < columns; ++column) {
      const uint32_t some = any[static_cast<size_t>(column)];
      const uint32_t every = all[static_cast<size_t>(column)];
      cells[static_cast<size_t>(row) * columns + column] =
          some == 0 ? CellCover::kClear : (every == 0xFF ? CellCover::kSolid : CellCover::kMixed);
    }
  }
  return cells;
}

void DrawCpuTexelsOneToOne(const CpuPicture& picture, const CpuTexture& texture,
                           const TexturedQuad& quad, const TexelMapping& mapping) {
  if (texture.levels.empty() || !texture.levels[0].texels) return;
  double left = quad.corners[0].x, right = left, top = quad.corners[0].y, bottom = top;
  for (const QuadVertex& corner : quad.corners) {
    left = std::min<double>(left, corner.x);
    right = std::max<double>(right, corner.x);
    top = std::min<double>(top, corner.y);
    bottom = std::max<double>(bottom, corner.y);
  }
  // Whole-number corners: the pixels inside are exactly those the two triangles cover.
  const auto clampTo = [](double value, int size) {
    return static_cast<int>(std::clamp(value, 0.0, static_cast<double>(size)));
  };
  const int first = clampTo(left, picture.width), end = clampTo(right, picture.width);
  const int firstRow = clampTo(top, picture.height), endRow = clampTo(bottom, picture.height);
  if (first >= end || firstRow >= endRow) return;
  const Shading shading = ShadingOf(quad);
  const SpanFunction draw =
      PickSpan(Filter::kNearest, quad.blend, shading.alphaTest, Tinted(shading));
  const LevelView view = BaseView(texture, quad.wrap);
  // The inverse of a signed permutation is its transpose: s = xs (x - x0) + ys (y - y0).
  const double cx = first + 0.5 - mapping.x0;
  Walk walk{0, 0, mapping.xs * 65536, mapping.xt * 65536};
  const double cy = firstRow + 0.5 - mapping.y0;
  walk.s = std::llround((mapping.xs * cx + mapping.ys * cy) * kOne);
  walk.t = std::llround((mapping.xt * cx + mapping.yt * cy) * kOne);
  // A row down moves s by ys and t by yt texels, exactly.
  const int64_t rowS = mapping.ys * int64_t{65536}, rowT = mapping.yt * int64_t{65536};
  const int width = picture.width;
  uint32_t* const pixels = picture.pixels;
  for (int row = firstRow; row < endRow; ++row, walk.s += rowS, walk.t += rowT)
    draw(pixels + static_cast<size_t>(row) * width + first, end - first, view, walk, view, walk, 0,
         shading);
}

uint32_t CpuPixel(const std::array<float, 4>& rgba) {
  uint32_t pixel = 0;
  for (int i = 0; i < 4; ++i) {
    const auto c = static_cast<uint32_t>(std::lround(std::clamp(rgba[i], 0.0f, 1.0f) * 255.0f));
    pixel |= c << (8 * i);
  }
  return pixel;
}

void DrawCpuQuad(const CpuPicture& picture, const CpuTexture& texture, const TexturedQuad& quad,
                 bool nearest) {
  if (texture.levels.empty() || texture.levels[0].width <= 0 || texture.levels[0].height <= 0 ||
      !texture.levels[0].texels) {
    return;
  }
  const Shading shading = ShadingOf(quad);
  DrawTriangle(picture, texture, quad, 0, 1, 2, nearest, shading);
  DrawTriangle(picture, texture, quad, 0, 2, 3, nearest, shading);
}

void FillCpuRect(const CpuPicture& picture, const FilledQuad& quad) {
  Point corners[2];
  if (!Snap(quad.left, quad.top, &corners[0]) || !Snap(quad.right, quad.bottom, &corners[1])) {
    return;
  }
  // A pixel is inside when its centre is: the left and top edges count, as in the triangles.
  auto firstCentre = [](int64_t edge) { return CeilDiv(edge - 128, 256); };
  const int64_t left = std::min(corners[0].x, corners[1].x);
  const int64_t right = std::max(corners[0].x, corners[1].x);
  const int64_t top = std::min(corners[0].y, corners[1].y);
  const int64_t bottom = std::max(corners[0].y, corners[1].y);
  const int first = static_cast<int>(std::max<int64_t>(0, firstCentre(left)));
  const int end = static_cast<int>(std::min<int64_t>(picture.width, firstCentre(right)));
  const int firstRow = static_cast<int>(std::max<int64_t>(0, firstCentre(top)));
  const int endRow = static_cast<int>(std::min<int64_t>(picture.height, firstCentre(bottom)));
  if (first >= end) return;
  const uint32_t colour =
      static_cast<uint32_t>(quad.colour[0]) | static_cast<uint32_t>(quad.colour[1]) << 8 |
      static_cast<uint32_t>(quad.colour[2]) << 16 | static_cast<uint32_t>(quad.colour[3]) << 24;
  for (int row = firstRow; row < endRow; ++row) {
    uint32_t* out = picture.pixels + static_cast<size_t>(row) * picture.width + first;
    const int count = end - first;
    switch (quad.blend) {
      case BlendMode::kOff:
        std::fill_n(out, count, colour);
        break;
      case BlendMode::kAdditive:
        for (int k = 0; k < count; ++k)
          out[k] = Blend<BlendMode::kAdditive>(colour, out[k]);
        break;
      case BlendMode::kTranslucent:
        for (int k = 0; k < count; ++k)
          out[k] = Blend<BlendMode::kTranslucent>(colour, out[k]);
        break;
    }
  }
}

}  // namespace zrb::graphics
