// Windows has no fork to ask the GL driver from a child, and a program there loads its GL
// driver in its own process anyway: the driver is not asked, and the window takes GL.
#include <string>

#include "engine/platform/window_surface.h"

namespace zrb::platform {

std::string ProbeGlRendererName() {
  return {};
}

}  // namespace zrb::platform
