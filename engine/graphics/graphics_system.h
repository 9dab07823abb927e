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
// requested screenshot, closes the draw-log frame. False when the frame was drawn while the
// window could not be seen: nothing went into the window, and there is nothing to swap.
bool BeforeSwap(long frameNumber);

// Called just after the swap: clears to the clear colour so the next frame starts clean.
void AfterSwap();

// The last presented picture into the window again and swapped, when the renderer keeps one
// and the window can be seen: the window system's ask (uncovered, resized, restored) is
// answered at once, also while the game waits for a key and presents no frames.
void RepaintWindow();

// The per-frame reset of the draw state: blending off, alpha test on, colour white, alpha
// factor 1.0, viewport the whole picture.
void ResetDrawState();

// Gives the window the PNG picture `png` as its icon. False when the picture cannot be read.
bool SetWindowIconPng(std::span<const uint8_t> png);

// Command-line facilities, set before InitGraphics.
// --draw-log FILE: starts a new, empty log at once ("" ends logging). False when it cannot be
// created, with the reason in `error`, or on standard error when no error text is wanted.
bool SetDrawLogPath(const std::string& path, std::string* error = nullptr);
// --renderer both: an OpenGL window's calls also go to the CPU renderer, and each --screenshot
// FILE.png is joined by FILE-cpu.png, its picture of the same frame.
void DrawOnCpuBeside(bool beside);
// --screenshot N:FILE: the picture replaces FILE once it is completely written; a failed
// write leaves FILE as it was.
void RequestScreenshot(long frameNumber, const std::string& path);
// The screenshot key: the picture goes to the first "<prefix>-NNNN.png" (0001..9999) whose
// name nothing has, not even a dangling link; nothing existing is ever written through.
void RequestNumberedScreenshot(long frameNumber, const std::string& prefix);

}  // namespace zrb::graphics
