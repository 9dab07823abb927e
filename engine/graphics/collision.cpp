#include <algorithm>

#include "engine/graphics/draw.h"
#include "engine/graphics/graphics_context.h"
#include "engine/graphics/strip_frames.h"

namespace zrb {
namespace {

// One side of the test: where its frame lies on screen and how a screen pixel maps onto
// its alpha mask (texture layout: row 0 holds the image's bottom row).
class PlacedFrame {
 public:
  PlacedFrame(const graphics::SpriteSlot* slot, int32_t frame, int32_t x, int32_t y) {
    if (!slot || slot->record.Empty()) return;
    const graphics::SpriteRecord& record = slot->record;
    const graphics::FrameRect rect = graphics::CollisionFrameRect(record, frame);
    left_ = x;
    top_ = y;
    width_ = rect.width;
    height_ = rect.height;
    // Screen column px is mask column px - columnOffset_; screen row py is mask row
    // rowBase_ - py.
    columnOffset_ = int64_t{x} - rect.originX;
    rowBase_ = int64_t{y} - rect.originY + record.imageHeight - 1;
    textureWidth_ = record.textureWidth;
    textureHeight_ = record.textureHeight;
    mask_ = slot->alphaMask.data();
  }

  int64_t Left() const { return left_; }
  int64_t Top() const { return top_; }
  int64_t Right() const { return left_ + width_; }
  int64_t Bottom() const { return top_ + height_; }

  // The screen pixels that fall inside the mask at all; frame numbers past the end of the
  // strip reach outside it, and nothing there is solid.
  int64_t FirstMaskedColumn() const { return columnOffset_; }
  int64_t EndMaskedColumn() const { return columnOffset_ + textureWidth_; }
  int64_t FirstMaskedRow() const { return rowBase_ - textureHeight_ + 1; }
  int64_t EndMaskedRow() const { return rowBase_ + 1; }

  // The mask byte of screen pixel (px, py), a masked row and column, is at
  // Mask()[RowOffset(py) + px].
  int64_t RowOffset(int64_t py) const { return (rowBase_ - py) * textureWidth_ - columnOffset_; }
  const uint8_t* Mask() const { return mask_; }
  bool HasMask() const { return mask_ != nullptr; }

 private:
  int64_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  int64_t columnOffset_ = 0, rowBase_ = 0;
  int64_t textureWidth_ = 0, textureHeight_ = 0;
  const uint8_t* mask_ = nullptr;
};

}  // namespace

int32_t AnimCollision(int32_t slot1, int32_t frame1, int32_t x1, int32_t y1, int32_t slot2,
                      int32_t frame2, int32_t x2, int32_t y2) {
  graphics::GraphicsContext& context = graphics::Graphics();
  const PlacedFrame first(context.sprites.Find(slot1), frame1, x1, y1);
  const PlacedFrame second(context.sprites.Find(slot2), frame2, x2, y2);

  const int64_t left = std::max(first.Left(), second.Left());
  const int64_t right = std::min(first.Right(), second.Right());
  const int64_t top = std::max(first.Top(), second.Top());
  const int64_t bottom = std::min(first.Bottom(), second.Bottom());
  if (left >= right || top >= bottom) return 0;  // apart, or only sharing an edge
  if (!first.HasMask() || !second.HasMask()) return 0;

  // Only pixels inside both masks can be solid in both.
  const int64_t firstColumn =
      std::max({left, first.FirstMaskedColumn(), second.FirstMaskedColumn()});
  const int64_t endColumn = std::min({right, first.EndMaskedColumn(), second.EndMaskedColumn()});
  const int64_t firstRow = std::max({top, first.FirstMaskedRow(), second.FirstMaskedRow()});
  const int64_t endRow = std::min({bottom, first.EndMaskedRow(), second.EndMaskedRow()});
  if (firstColumn >= endColumn || firstRow >= endRow) return 0;

  // A coarse grid first (even rows and columns of the overlap), then the pixels between:
  // solid shapes that overlap are usually found within the first pass.
  for (int rowParity = 0; rowParity < 2; ++rowParity) {
    for (int columnParity = 0; columnParity < 2; ++columnParity) {
      int64_t py = top + rowParity;
      if (py < firstRow) py += (firstRow - py + 1) / 2 * 2;
      int64_t startColumn = left + columnParity;
      if (startColumn < firstColumn) startColumn += (firstColumn - startColumn + 1) / 2 * 2;
      for (; py < endRow; py += 2) {
        const int64_t firstOffset = first.RowOffset(py);
        const int64_t secondOffset = second.RowOffset(py);
        for (int64_t px = startColumn; px < endColumn; px += 2) {
          if (first.Mask()[firstOffset + px] && second.Mask()[secondOffset + px]) return 1;
        }
      }
    }
  }
  return 0;
}

}  // namespace zrb
