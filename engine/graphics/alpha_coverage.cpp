#include "engine/graphics/alpha_coverage.h"

#include <algorithm>

namespace zrb::graphics {
namespace {

// Rectangles remembered per texture before the record starts again.
constexpr size_t kMaxRememberedRects = 4096;

// A run of equal cells in one row of cells, in texel columns.
struct Span {
  long left;
  long right;
  Cover cover;

  bool operator==(const Span&) const = default;
};

}  // namespace

AlphaCoverage::AlphaCoverage(int width, int height, const uint8_t* rgba)
    : width_(std::max(0, width)), height_(std::max(0, height)) {
  const size_t texels = static_cast<size_t>(width_) * height_;
  alpha_.resize(texels);
  for (size_t i = 0; i < texels; ++i)
    alpha_[i] = rgba[i * 4 + 3];
}

Cover AlphaCoverage::CellCover(long left, long bottom, long right, long top) const {
  bool anyClear = false, anySolid = false;
  for (long row = bottom; row < top; ++row) {
    const uint8_t* alpha = alpha_.data() + static_cast<size_t>(row) * width_;
    for (long column = left; column < right; ++column) {
      if (alpha[column] == 0) {
        anyClear = true;
      } else if (alpha[column] == 255) {
        anySolid = true;
      } else {
        return Cover::kMixed;
      }
    }
    if (anyClear && anySolid) return Cover::kMixed;
  }
  return anySolid ? Cover::kSolid : Cover::kClear;
}

std::vector<CoverPiece> AlphaCoverage::Cut(const TexelRect& rect) const {
  std::vector<CoverPiece> pieces;
  std::vector<Span> open;  // the spans of the rows of cells not yet closed
  long openBottom = rect.bottom;
  auto close = [&](long top) {
    for (const Span& span : open)
      pieces.push_back({TexelRect{span.left, openBottom, span.right, top}, span.cover});
  };
  std::vector<Span> spans;
  for (long bottom = rect.bottom; bottom < rect.top; bottom += kCell) {
    const long top = std::min(bottom + kCell, rect.top);
    spans.clear();
    for (long left = rect.left; left < rect.right; left += kCell) {
      const long right = std::min(left + kCell, rect.right);
      const Cover cover = CellCover(left, bottom, right, top);
      if (!spans.empty() && spans.back().cover == cover) {
        spans.back().right = right;
      } else {
        spans.push_back({left, right, cover});
      }
    }
    // Rows of cells alike are one taller piece.
    if (spans != open) {
      close(bottom);
      open = spans;
      openBottom = bottom;
    }
  }
  close(rect.top);
  return pieces;
}

const std::vector<CoverPiece>* AlphaCoverage::Split(const TexelRect& rect) {
  if (alpha_.empty() || rect.left < 0 || rect.bottom < 0 || rect.right > width_ ||
      rect.top > height_ || rect.left >= rect.right || rect.bottom >= rect.top || width_ > 0xFFFF ||
      height_ > 0xFFFF) {
    return nullptr;
  }
  const uint64_t key = static_cast<uint64_t>(rect.left) << 48 |
                       static_cast<uint64_t>(rect.bottom) << 32 |
                       static_cast<uint64_t>(rect.right) << 16 | static_cast<uint64_t>(rect.top);
  if (auto found = pieces_.find(key); found != pieces_.end()) return &found->second;
  if (pieces_.size() >= kMaxRememberedRects) pieces_.clear();
  return &pieces_.emplace(key, Cut(rect)).first->second;
}

}  // namespace zrb::graphics
