#include "engine/graphics/draw.h"

#include <cmath>

#include "engine/graphics/graphics_context.h"
#include "engine/graphics/strip_frames.h"

namespace zrb {
namespace {

using graphics::GraphicsContext;
using graphics::QuadVertex;
using graphics::SpriteRecord;
using graphics::TexturedQuad;

// The slot's record when it holds an image, else nullptr.
const SpriteRecord* FilledRecord(GraphicsContext& context, int32_t slot) {
  const graphics::SpriteSlot* found = context.sprites.Find(slot);
  if (!found || found->record.Empty()) return nullptr;
  return &found->record;
}

TexturedQuad QuadWithState(const GraphicsContext& context, uint32_t texture) {
  TexturedQuad quad;
  quad.texture = texture;
  quad.blend = context.draw.blend;
  quad.alphaTest = context.draw.alphaTest;
  quad.colour = context.draw.colour;
  return quad;
}

// Texture coordinates of a strip frame: the texture holds the image upside down, so the
// frame's bottom edge has the smaller v.
struct FrameTexCoords {
  float left, right, bottom, top;
};

FrameTexCoords FrameCoordinates(const SpriteRecord& record, int32_t frame, double inset) {
  const graphics::FrameCell cell = graphics::DrawingFrameCell(record, frame);
  const double tw = record.textureWidth;
  const double th = record.textureHeight;
  const double fw = record.frameWidth;
  const double fh = record.frameHeight;
  const double left = static_cast<double>(cell.column) * fw / tw + inset / tw;
  const double bottom =
      (record.imageHeight - fh * static_cast<double>(cell.row + 1)) / th + inset / th;
  return FrameTexCoords{
      static_cast<float>(left), static_cast<float>(left + fw / tw - 2 * inset / tw),
      static_cast<float>(bottom), static_cast<float>(bottom + fh / th - 2 * inset / th)};
}

bool HasFrames(const SpriteRecord& record) {
  return record.frameWidth > 0 && record.frameHeight > 0;
}

}  // namespace

void ClearScreen(int32_t colour) {
  GraphicsContext& context = graphics::Graphics();
  context.drawLog.Line("ClearScreen %d", colour);
  const graphics::Rgb rgb = graphics::Rgb::FromColourValue(colour);
  context.draw.clearColour = {rgb.red / 255.0f, rgb.green / 255.0f, rgb.blue / 255.0f, 1.0f};
  context.renderer->Clear(context.draw.clearColour);
}

void SetAlphaMode(double factor) {
  GraphicsContext& context = graphics::Graphics();
  float f = static_cast<float>(factor);
  if (std::isnan(f)) f = 0.0f;
  context.drawLog.Line("SetAlphaMode %.7g", f);
  graphics::DrawState& draw = context.draw;
  if (f == 0.0f) {
    draw.blend = graphics::BlendMode::kOff;
    draw.alphaTest = true;
    draw.alphaFactor = 1.0f;
  } else {
    draw.blend = f > 0 ? graphics::BlendMode::kAdditive : graphics::BlendMode::kTranslucent;
    draw.alphaTest = false;
    draw.alphaFactor = std::fmin(std::fabs(f), 1.0f);
  }
  draw.colour = {1.0f, 1.0f, 1.0f, draw.alphaFactor};
}

void DrawSprite(int32_t slot, int32_t x, int32_t y) {
  GraphicsContext& context = graphics::Graphics();
  context.drawLog.Line("DrawSprite %d %d %d", slot, x, y);
  const SpriteRecord* record = FilledRecord(context, slot);
  if (!record) return;
  const float left = static_cast<float>(x);
  const float top = static_cast<float>(y);
  const float right = left + static_cast<float>(record->imageWidth);
  const float bottom = top + static_cast<float>(record->imageHeight);
  TexturedQuad quad = QuadWithState(context, record->texture);
  quad.corners = {QuadVertex{left, top, 0, record->vExtent},
                  QuadVertex{right, top, record->uExtent, record->vExtent},
                  QuadVertex{right, bottom, record->uExtent, 0}, QuadVertex{left, bottom, 0, 0}};
  context.renderer->DrawTexturedQuad(quad);
}

void DrawAnim(int32_t slot, int32_t frame, int32_t x, int32_t y) {
  GraphicsContext& context = graphics::Graphics();
  context.drawLog.Line("DrawAnim %d %d %d %d", slot, frame, x, y);
  const SpriteRecord* record = FilledRecord(context, slot);
  if (!record || !HasFrames(*record)) return;
  const FrameTexCoords t = FrameCoordinates(*record, frame, 0.0);
  const float left = static_cast<float>(x);
  const float top = static_cast<float>(y);
  const float right = left + static_cast<float>(record->frameWidth);
  const float bottom = top + static_cast<float>(record->frameHeight);
  TexturedQuad quad = QuadWithState(context, record->texture);
  quad.corners = {QuadVertex{left, top, t.left, t.top}, QuadVertex{right, top, t.right, t.top},
                  QuadVertex{right, bottom, t.right, t.bottom},
                  QuadVertex{left, bottom, t.left, t.bottom}};
  context.renderer->DrawTexturedQuad(quad);
}

void RotoZoomAnim(int32_t slot, int32_t frame, int32_t x, int32_t y, double angle, double zoom) {
  GraphicsContext& context = graphics::Graphics();
  const float angleF = static_cast<float>(angle);
  const float zoomF = static_cast<float>(zoom);
  context.drawLog.Line("RotoZoomAnim %d %d %d %d %.7g %.7g", slot, frame, x, y, angleF, zoomF);
  const SpriteRecord* record = FilledRecord(context, slot);
  if (!record || !HasFrames(*record)) return;
  // Half a texel in from each edge, so clamping never reaches a neighbouring frame.
  const FrameTexCoords t = FrameCoordinates(*record, frame, 0.5);
  const float cx = static_cast<float>(int64_t{x} + record->frameWidth / 2);
  const float cy = static_cast<float>(int64_t{y} + record->frameHeight / 2);
  const float hw = static_cast<float>(record->frameWidth) * zoomF * 0.5f;
  const float hh = static_cast<float>(record->frameHeight) * zoomF * 0.5f;
  const float sn = std::sin(angleF * 0.017453292f);
  const float cs = std::cos(angleF * 0.017453292f);
  // y grows downwards, so this turns positive angles anticlockwise on screen.
  auto place = [&](float dx, float dy, float u, float v) {
    return QuadVertex{cx + dx * cs + dy * sn, cy + dy * cs - dx * sn, u, v};
  };
  TexturedQuad quad = QuadWithState(context, record->texture);
  quad.wrap = graphics::TextureWrap::kClampToEdge;
  quad.corners = {place(-hw, -hh, t.left, t.top), place(-hw, hh, t.left, t.bottom),
                  place(hw, hh, t.right, t.bottom), place(hw, -hh, t.right, t.top)};
  context.renderer->DrawTexturedQuad(quad);
}

void DrawRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour) {
  GraphicsContext& context = graphics::Graphics();
  context.drawLog.Line("DrawRect %d %d %d %d %d", x, y, width, height, colour);
  int64_t left = x, top = y, w = width, h = height;
  // A negative size grows the rectangle away from its start, which stays inside.
  if (w < 0) {
    left += w + 1;
    w = -w;
  }
  if (h < 0) {
    top += h + 1;
    h = -h;
  }
  const graphics::Rgb rgb = graphics::Rgb::FromColourValue(colour);
  const bool transparent = (colour & 0xFFFFFF) == context.transparentColour;
  graphics::FilledQuad quad;
  quad.blend = context.draw.blend;
  quad.colour = {
      rgb.red, rgb.green, rgb.blue,
      static_cast<uint8_t>(transparent ? 0 : std::lround(context.draw.alphaFactor * 255))};
  // Shifted by 0.375 so that the edges fall between pixel centres: exactly columns
  // left .. left + w - 1 and rows top .. top + h - 1 are filled.
  quad.left = static_cast<float>(left) + 0.375f;
  quad.top = static_cast<float>(top) + 0.375f;
  quad.right = static_cast<float>(left + w) + 0.375f;
  quad.bottom = static_cast<float>(top + h) + 0.375f;
  context.renderer->DrawFilledQuad(quad);
}

}  // namespace zrb
