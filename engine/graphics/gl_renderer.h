// The OpenGL renderer of a real run: immediate-mode quads into an offscreen picture of the
// logical size, scaled into the window's drawable at present time.
#pragma once

#include <memory>

#include "engine/graphics/renderer.h"

namespace zrb::graphics {

// Needs the window's GL context to be current. nullptr when there is none.
std::unique_ptr<Renderer> CreateGlRenderer(int logicalWidth, int logicalHeight);

}  // namespace zrb::graphics
