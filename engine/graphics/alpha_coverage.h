// Which parts of a texture are fully transparent, fully opaque or neither, so that a quad
// showing texels one to one can leave out what could never change a pixel and draw opaque
// parts without the alpha test. With a software rasteriser every pixel a quad covers costs,
// tested or not: the frame around a playfield is mostly a transparent hole.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/graphics/texel_centres.h"

namespace zrb::graphics {

enum class Cover : uint8_t {
  kClear,  // every texel has alpha 0
  kSolid,  // every texel has alpha 255
  kMixed,  // anything else
};

struct CoverPiece {
  TexelRect texels;
  Cover cover = Cover::kMixed;
};

class AlphaCoverage {
 public:
  // Knows nothing: Split always gives nullptr.
  AlphaCoverage() = default;
  // `rgba`: width x height texels, 4 bytes each, rows from texture coordinate 0.
  AlphaCoverage(int width, int height, const uint8_t* rgba);

  // `rect` cut into pieces that together hold each of its texels once, each piece all clear,
  // all solid or mixed. Pieces follow a grid of kCell x kCell texels from the rectangle's
  // corner, so small specks do not multiply the pieces. nullptr when `rect` is empty or
  // reaches outside the texture. Answers are kept per rectangle (the game shows the same
  // few frames over and over); the pointer is valid until the next call.
  const std::vector<CoverPiece>* Split(const TexelRect& rect);

  static constexpr int kCell = 16;

 private:
  Cover CellCover(long left, long bottom, long right, long top) const;
  std::vector<CoverPiece> Cut(const TexelRect& rect) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> alpha_;
  std::unordered_map<uint64_t, std::vector<CoverPiece>> pieces_;
};

}  // namespace zrb::graphics
