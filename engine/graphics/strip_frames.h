// Where frame n of a strip lies: frames are numbered left to right, then top to bottom.
#pragma once

#include <cstdint>

#include "engine/graphics/sprite_table.h"

namespace zrb::graphics {

struct FrameCell {
  int64_t column = 0;
  int64_t row = 0;
};

// For drawing. The record must have a frame width above 0. When the frame is wider than
// the image (no whole frame per row) every frame sits in row 0.
FrameCell DrawingFrameCell(const SpriteRecord& record, int32_t frame);

// The frame rectangle the collision test uses, in image pixels. A slot that is not a strip
// (frame width 0) is one frame covering the whole image; a frame wider than the image
// counts as one frame per row.
struct FrameRect {
  int64_t originX = 0;
  int64_t originY = 0;
  int64_t width = 0;
  int64_t height = 0;
};
FrameRect CollisionFrameRect(const SpriteRecord& record, int32_t frame);

}  // namespace zrb::graphics
