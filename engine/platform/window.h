// The game window and its OpenGL context. Real mode: an SDL window with a GL compatibility
// context (colour only, double buffered), or one drawn by the processor on its surface
// (window_surface.h). Headless: no window at all; the
// calls succeed and do nothing, and the drawable is the logical size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zrb::platform {

// The largest whole scale a window is opened at.
inline constexpr int kLargestWindowScale = 8;

// How the window's pictures are made.
enum class WindowDrawing {
  kOpenGl,     // a GL context
  kSurface,    // the window's surface, drawn by the processor; a GL window where SDL has none
  kAutomatic,  // the surface when the GL driver draws on the processor anyway, else GL
};

struct WindowConfig {
  int width = 640;  // logical picture size, in pixels
  int height = 480;
  bool fullscreen = false;  // borderless desktop full screen
  // Windowed: the window this many times the logical size, cut down to the largest whole
  // scale that fits the desktop's work area; 0: the largest that fits.
  int scale = 1;
  bool multisample = false;  // ask for a multisampled context (falls back to a plain one)
  WindowDrawing drawing = WindowDrawing::kOpenGl;
  std::string title;
};

// Opens the window and makes its GL context current. False when either cannot be made;
// WindowError() then tells why.
bool OpenWindow(const WindowConfig& config);

// Switches between windowed (centred on the work area) and full screen. The GL context, and
// with it every loaded texture, survives the switch. A width or height of 0 keeps that side.
// False when full screen cannot be had; the window is then windowed.
bool SetWindowMode(int width, int height, bool fullscreen);

void SetWindowTitle(std::string_view title);

// The window's icon: RGBA pixels, rows top to bottom (SDL copies them).
void SetWindowIcon(const uint8_t* rgba, int width, int height);

// The whole scale the player last gave the window by resizing it (the largest whole multiple
// of the picture its drawable holds), 0 when the player has not resized it. A resized window
// keeps that scale when it is placed again.
int PlayerWindowScale();

// Presents the back buffer (the surface, for a window drawn on it).
void SwapWindow();

// Whether SwapWindow waits for the display's next refresh, as it does in a browser (the next
// animation frame). The desktop window swaps at once: the frame loop paces itself.
bool SwapWaitsForDisplay();

// Size of the window's drawable in pixels (the logical size in headless mode).
void DrawableSize(int* width, int* height);

bool WindowIsOpen();

// Whether the window can be seen: not minimised, not hidden (always in headless mode and in a
// browser).
bool WindowIsShown();

// The window system asked for the window's picture again (uncovered, resized, restored, shown):
// `PumpEvents`, once SDL's queue is empty, calls `handler` once for any number of such asks.
void SetRepaintHandler(void (*handler)());
void ServeRepaintRequest();

// Destroys the window and the context. Safe to call more than once.
void CloseWindow();

// --- Queries for the frame module and for tests ---

// The logical picture size last set (OpenWindow or SetWindowMode).
void LogicalSize(int* width, int* height);

// Client area size and position on the desktop, in screen pixels (0 in headless mode).
void WindowClientSize(int* width, int* height);
void WindowPosition(int* x, int* y);

bool WindowIsFullscreen();

// The OpenGL renderer string of the current context; for a window drawn on its surface, the
// driver's as ProbeGlRendererName found it ("" when neither is known).
std::string GlRendererName();

// True for renderers that draw on the processor instead of a graphics adapter.
bool IsSoftwareRenderer(std::string_view rendererName);

// Why the last OpenWindow failed.
std::string WindowError();

}  // namespace zrb::platform
