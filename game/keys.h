// The keys the game reads, by the scan code KeyState takes, and the keys of the front end.
#pragma once

#include <cstdint>

namespace tundrel {

inline constexpr int32_t kKeyEscape = 1;
inline constexpr int32_t kKeyTab = 15;
inline constexpr int32_t kKeyY = 21;
inline constexpr int32_t kKeyEnter = 28;
inline constexpr int32_t kKeyLeftCtrl = 29;
inline constexpr int32_t kKeyN = 49;
inline constexpr int32_t kKeyLeftAlt = 56;
inline constexpr int32_t kKeySpace = 57;
inline constexpr int32_t kKeyRightAlt = 184;
inline constexpr int32_t kKeyUp = 200;
inline constexpr int32_t kKeyLeft = 203;
inline constexpr int32_t kKeyRight = 205;
inline constexpr int32_t kKeyDown = 208;

// How long a front-end key reads as down at the least, from the first look that saw it down:
// a tap between two frames still opens a screen and is released inside the screen's first
// wait, as a held key is, and a frame drawn between the two looks (the credits) is covered.
inline constexpr double kShortestPressMs = 40.0;
// ...and, when a frame is begun within that time, this long after the frame is done.
inline constexpr double kAfterFrameMs = 20.0;

// The front end's key test: 1 while the key is down, or for kShortestPressMs after it was first
// seen down (longer across a slow frame begun in that time). With the joypad switched on, the pad
// stands for keys too: stick or D-pad for the arrows, A and Start for Enter, B and Back for Escape.
bool KeyDown(int32_t code);
// Waits, presenting nothing, until the key is up.
void WaitKeyUp(int32_t code);
// The first key down (the pad's keys included), lowest code first; 0 when none is. Alt is the
// window's modifier (Alt+Enter, Alt+F4, Alt+Tab) and never counts.
int32_t FirstKeyDown();
// FinishFrame tells when it began and ended the frame it showed.
void NoteFrameShown(double startMs, double endMs);
// A press that may still read as down after its key went up (FinishFrame then times its frame).
bool AnyPressOpen();
// FinishFrame, as it begins a frame: the presses this frame cannot keep are over.
void NoteFrameBegun(double startMs);
// With the joypad switched on: the pad's Back button, which asks to leave a game.
bool PadBackDown();

}  // namespace tundrel
