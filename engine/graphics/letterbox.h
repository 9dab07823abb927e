// The picture's place and scaling in the window's drawable, for the renderers: the window
// follows the same rule (engine/platform/picture_layout.h).
#pragma once

#include "engine/platform/picture_layout.h"

namespace zrb::graphics {

using platform::FitPicture;
using platform::LayOutPicture;
using platform::Letterbox;
using platform::Scaling;
using platform::SharpTexel;

}  // namespace zrb::graphics
