// Placeholder until the graphics subsystem lands: the frame loop can already call it.
#include "engine/graphics/graphics_system.h"

namespace zrb::graphics {

bool InitGraphics(bool, int, int) { return true; }
void ShutdownGraphics() {}
void BeforeSwap(long) {}
void AfterSwap() {}
void ResetDrawState() {}
void SetDrawLogPath(const std::string&) {}
void RequestScreenshot(long, const std::string&) {}

}  // namespace zrb::graphics
