// The OpenGL renderer of a real run, on what desktop OpenGL 2.0 and OpenGL ES 2.0 (WebGL 1)
// share: quads go through one small shader program, queued and drawn together while they
// share a texture, blend mode and alpha test. They land in the logical picture, which is the
// window's back buffer itself when the drawable has exactly the logical size, and otherwise
// an offscreen picture scaled into the drawable at present time.
#pragma once

#include <memory>

#include "engine/graphics/renderer.h"

namespace zrb::graphics {

enum class PictureTarget {
  // Each frame: straight into the back buffer when the drawable is the logical size (and
  // holds 8 bits per channel, not multisampled); else a framebuffer object of the logical
  // size, scaled into the drawable before the swap.
  kAutomatic,
  kOffscreen,  // always the framebuffer object (when the driver has them)
  kWindow,     // always straight into the back buffer through a letterboxed viewport
};

struct GlRendererOptions {
  PictureTarget target = PictureTarget::kAutomatic;
  // Shortcuts for sprite quads that map texels one to one onto whole pixels of the picture
  // (texel_centres.h). Each gives exactly the pixels of the plain way, at a fraction of a
  // software renderer's cost per pixel; off, every quad is drawn the plain way.
  bool nearestWhereExact = true;  // at texel centres nearest filtering equals linear
  // Leave out parts whose texels are all transparent where that changes nothing, and draw
  // parts whose texels are all opaque without the alpha test (alpha_coverage.h).
  bool splitByCoverage = true;
};

// Needs the window's GL context to be current. nullptr when there is none or it lacks shaders
// (desktop GL below 2.0). Without framebuffer objects (desktop GL below 3.0 and no
// ARB_framebuffer_object) the picture is always drawn straight into the window.
std::unique_ptr<Renderer> CreateGlRenderer(int logicalWidth, int logicalHeight,
                                           const GlRendererOptions& options = {});

}  // namespace zrb::graphics
