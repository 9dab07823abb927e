// Whether a GL renderer name is one of the software rasterisers, which draw on the processor.
#include <algorithm>
#include <cctype>
#include <string>

#include "engine/platform/window.h"

namespace zrb::platform {

bool IsSoftwareRenderer(std::string_view rendererName) {
  std::string lower(rendererName);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const char* marker : {"llvmpipe", "softpipe", "software rasterizer", "swrast",
                             "mesa windows gdi driver", "gdi generic"}) {
    if (lower.find(marker) != std::string::npos) return true;
  }
  return false;
}

}  // namespace zrb::platform
