#include "engine/graphics/strip_frames.h"

#include <algorithm>

namespace zrb::graphics {

FrameCell DrawingFrameCell(const SpriteRecord& record, int32_t frame) {
  const int64_t perRow = record.imageWidth / record.frameWidth;
  if (perRow == 0) return FrameCell{frame, 0};
  return FrameCell{frame % perRow, frame / perRow};
}

FrameRect CollisionFrameRect(const SpriteRecord& record, int32_t frame) {
  if (record.frameWidth == 0) return FrameRect{0, 0, record.imageWidth, record.imageHeight};
  const int64_t perRow = std::max<int64_t>(1, record.imageWidth / record.frameWidth);
  return FrameRect{(frame % perRow) * record.frameWidth, (frame / perRow) * record.frameHeight,
                   record.frameWidth, record.frameHeight};
}

}  // namespace zrb::graphics
