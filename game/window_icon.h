// The window's icon: the 64-pixel picture of the program's icon, built into the program from
// the PNG the media generator draws (packaging/CMakeLists.txt).
#pragma once

#include <cstddef>

namespace tundrel {

extern const unsigned char kWindowIconPng[];
extern const size_t kWindowIconPngSize;

}  // namespace tundrel
