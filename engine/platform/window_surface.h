// A window drawn by the processor: SDL's window surface, which on X11 is a shared-memory
// image the X server copies from, with no OpenGL driver loaded in the game's process. A window
// has either this surface or a GL context, never both: the choice is made when it is opened
// (WindowConfig::drawing).
#pragma once

#include <cstdint>
#include <string>

namespace zrb::platform {

// The surface's pixels for this frame: 32-bit words, each channel at its shift.
struct SurfacePixels {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;  // words from one row to the next
  int redShift = 16;
  int greenShift = 8;
  int blueShift = 0;
  // A new surface (the first, or one remade after a resize): what it holds is undefined.
  bool fresh = false;
};

// Whether the open window is drawn on its surface.
bool WindowDrawsOnSurface();

// False when the window has no surface (a GL window, headless, or SDL could not make one).
// SwapWindow shows what was written.
bool WindowSurface(SurfacePixels* surface);

// The GL renderer name of this machine's driver, found in a short-lived child process so that
// the game's own process never loads the driver ("" when no context could be made there). An
// X display without direct rendering (no DRI2, DRI3 or NV-GLX) is not asked: there the answer
// is "software rasterizer (no direct rendering on the display)". Taken once per process;
// later calls give the same answer.
std::string ProbeGlRendererName();

}  // namespace zrb::platform
