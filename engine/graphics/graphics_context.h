// The graphics subsystem's single object: renderer, sprite table, draw state, colour key,
// decode buffer, draw log and pending screenshots. Internal to engine/graphics.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>

#include "engine/graphics/decoded_image.h"
#include "engine/graphics/draw_log.h"
#include "engine/graphics/renderer.h"
#include "engine/graphics/sprite_table.h"

namespace zrb::graphics {

struct DrawState {
  BlendMode blend = BlendMode::kOff;
  bool alphaTest = true;
  float alphaFactor = 1.0f;
  std::array<float, 4> colour{1, 1, 1, 1};  // multiplies every sprite's texels
  std::array<float, 4> clearColour{0, 0, 0, 1};
};

// The colour key until the game sets its own: red 255, green 0, blue 128.
inline constexpr int32_t kDefaultTransparentColour = 255 + 128 * 65536;

class ShownFramesRenderer;

struct GraphicsContext {
  std::unique_ptr<Renderer> renderer;
  ShownFramesRenderer* shownFrames = nullptr;  // `renderer` itself, when it is one
  bool headless = true;
  int logicalWidth = 640;
  int logicalHeight = 480;

  SpriteTable sprites;
  DrawState draw;
  int32_t transparentColour = kDefaultTransparentColour;
  DecodedImage decodeBuffer;

  std::string drawLogPath;
  DrawLog drawLog;
  struct Screenshot {
    std::string path;       // the file, or the name's prefix when numbered
    bool numbered = false;  // a new "<path>-NNNN.png"
  };
  std::multimap<long, Screenshot> screenshots;  // by frame number, several for one frame too
};

// The object, with a recording renderer made on first use when InitGraphics has not run
// (so loading and collision also work in programs and tests that never open a window).
GraphicsContext& Graphics();

// Replaces the renderer (releasing every sprite of the old one) and resets the draw state.
void InstallRenderer(std::unique_ptr<Renderer> renderer, bool headless, int logicalWidth,
                     int logicalHeight);

}  // namespace zrb::graphics
