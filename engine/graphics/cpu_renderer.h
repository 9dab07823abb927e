// The renderer of a window drawn by the processor: the same quads as the OpenGL renderer's,
// drawn by cpu_raster into a picture of the logical size, which PresentPicture writes into
// the window's surface at the largest whole scale that fits (cpu_present.h). Where the only
// OpenGL is a software rasteriser this costs a fraction of the processor time: no shader per
// pixel, one pass per quad, and no GL driver in the process.
#pragma once

#include <memory>

#include "engine/graphics/renderer.h"

namespace zrb::graphics {

// `showInWindow`: PresentPicture writes into the window's surface (off, the picture is only
// drawn and read, as the tests compare it with the GL renderer's).
std::unique_ptr<Renderer> CreateCpuRenderer(int logicalWidth, int logicalHeight,
                                            bool showInWindow = true);

}  // namespace zrb::graphics
