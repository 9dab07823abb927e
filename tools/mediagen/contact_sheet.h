// Contact sheets for looking at the art: every frame of a strip on a grid, doubled in
// size, on a checkerboard that shows transparency, with its frame number beside it.
#pragma once

#include "tools/mediagen/image.h"

namespace mediagen {

// `frames` < 0 shows every cell of the strip.
Image ContactSheet(const Image& strip, int frameWidth, int frameHeight, int scale, int frames = -1);

}  // namespace mediagen
