// The game window and its OpenGL context. Real mode: an SDL window with a GL compatibility
// context (24 depth bits, 8 stencil bits, double buffered). Headless: no window at all; the
// calls succeed and do nothing, and the drawable is the logical size.
#pragma once

#include <string>
#include <string_view>

namespace zrb::platform {

struct WindowConfig {
  int width = 640;          // logical picture size, in pixels
  int height = 480;
  bool fullscreen = false;  // borderless desktop full screen
  int scale = 1;            // windowed: open the window this many times the logical size
  std::string title;
};

// Opens the window and makes its GL context current. False when either cannot be made.
bool OpenWindow(const WindowConfig& config);

// Switches between windowed (centred on the work area) and full screen. The GL context, and
// with it every loaded texture, survives the switch.
bool SetWindowMode(int width, int height, bool fullscreen);

void SetWindowTitle(std::string_view title);

// Presents the back buffer.
void SwapWindow();

// Size of the window's drawable in pixels (the logical size in headless mode).
void DrawableSize(int* width, int* height);

bool WindowIsOpen();

// Destroys the window and the context. Safe to call more than once.
void CloseWindow();

}  // namespace zrb::platform
