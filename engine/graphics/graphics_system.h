// What the application frame asks of the graphics subsystem: set-up, the frame boundary,
// and the per-frame draw-state reset. The game never calls these.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zrb::graphics {

// After the window and its GL context exist (real mode), or with the recording renderer
// (headless). logicalWidth x logicalHeight is the picture the game draws (640 x 480).
bool InitGraphics(bool headless, int logicalWidth, int logicalHeight);

// Releases every texture and the renderer. Safe to call more than once.
void ShutdownGraphics();

// Called by the frame loop just before the buffers are swapped, with the number of the frame
// being presented (1 for the first): scales the logical picture into the window, writes a
// requested screenshot, closes the draw-log frame.
void BeforeSwap(long frameNumber);

// Called just after the swap: clears to the clear colour so the next frame starts clean.
void AfterSwap();

// The per-frame reset of the draw state: blending off, alpha test on, colour white, alpha
// factor 1.0, viewport the whole picture.
void ResetDrawState();

// Gives the window the PNG picture `png` as its icon. False when the picture cannot be read.
bool SetWindowIconPng(std::span<const uint8_t> png);

// Command-line facilities, set before InitGraphics.
void SetDrawLogPath(const std::string& path);                       // --draw-log FILE
void RequestScreenshot(long frameNumber, const std::string& path);  // --screenshot N:FILE

}  // namespace zrb::graphics
