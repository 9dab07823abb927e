// The OpenGL renderer of a real run: immediate-mode quads into an offscreen picture of the
// logical size, scaled into the window's drawable at present time.
#pragma once

#include <memory>

#include "engine/graphics/renderer.h"

namespace zrb::graphics {

enum class PictureTarget {
  kOffscreenWhenPossible,  // a framebuffer object of the logical size, then scaled
  kWindow,                 // straight into the back buffer through a letterboxed viewport
};

// Needs the window's GL context to be current. nullptr when there is none. Without
// framebuffer objects (GL below 3.0 and no ARB_framebuffer_object) the picture is drawn
// straight into the window.
std::unique_ptr<Renderer> CreateGlRenderer(
    int logicalWidth, int logicalHeight,
    PictureTarget target = PictureTarget::kOffscreenWhenPossible);

}  // namespace zrb::graphics
