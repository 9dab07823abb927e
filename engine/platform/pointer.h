// The system mouse pointer over the game window.
#pragma once

namespace zrb::platform {

void ShowPointer(bool show);

// Moves the pointer to (x, y) in the window's client area (nothing without a window).
void MovePointerInWindow(int x, int y);

}  // namespace zrb::platform
