#include <algorithm>

#include "engine/graphics/draw.h"
#include "engine/graphics/graphics_context.h"
#include "engine/graphics/strip_frames.h"

namespace zrb {
namespace {

// One side of the test: where its frame's image pixels land on screen and the mask that
// says which of them are solid.
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
    imageOffsetX_ = int64_t{x} - rect.originX;
    imageOffsetY_ = int64_t{y} - rect.originY;
    imageHeight_ = record.imageHeight;
    textureWidth_ = record.textureWidth;
    textureHeight_ = record.textureHeight;
    mask_ = slot->alphaMask.data();
  }

  int64_t Left() const { return left_; }
  int64_t Top() const { return top_; }
  int64_t Right() const { return left_ + width_; }
  int64_t Bottom() const { return top_ + height_; }

  // Whether the screen pixel (px, py) falls on a solid texel. Frame numbers past the end
  // of the strip reach outside the texture: nothing there is solid.
  bool SolidAt(int64_t px, int64_t py) const {
    if (!mask_) return false;
    const int64_t column = px - imageOffsetX_;
    const int64_t row = imageHeight_ - 1 - (py - imageOffsetY_);
    if (column < 0 || column >= textureWidth_ || row < 0 || row >= textureHeight_) return false;
    return mask_[row * textureWidth_ + column] != 0;
  }

 private:
  int64_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  int64_t imageOffsetX_ = 0, imageOffsetY_ = 0;
  int64_t imageHeight_ = 0, textureWidth_ = 0, textureHeight_ = 0;
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

  // A coarse grid first (even rows and columns), then the pixels between: solid shapes
  // that overlap are usually found within the first pass.
  for (int rowParity = 0; rowParity < 2; ++rowParity) {
    for (int columnParity = 0; columnParity < 2; ++columnParity) {
      for (int64_t py = top + rowParity; py < bottom; py += 2) {
        for (int64_t px = left + columnParity; px < right; px += 2) {
          if (first.SolidAt(px, py) && second.SolidAt(px, py)) return 1;
        }
      }
    }
  }
  return 0;
}

}  // namespace zrb
