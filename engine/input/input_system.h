// What the application frame asks of the input module: set-up and release, the keyboard
// sample taken once per presented frame, and the marks of frames and waits that pace idle
// polling. The game never calls these.
#pragma once

#include <string>

namespace zrb::input {

struct InputConfig {
  bool exclusiveMouse = false;  // hide the pointer for the whole run
  // Game-controller mappings to add to SDL's own when the file exists ("" for none).
  std::string controllerMappings;
};

// Opens the joypads (real run) and starts from a clean key state. A platform without
// controller support is logged and the game reads no joypad.
void InitInput(const InputConfig& config);

// Releases the devices. Safe to call more than once.
void ShutdownInput();

// ShowScreen's sample: pumps, takes the key state (when the window is active) and lets key
// presses older than the previous frame expire.
void SampleForFrame();

// The key as the frame sample saw it (held, or pressed since), without using up the press.
bool KeyDownInFrameSample(int code);

// A frame was presented or the program slept (a sample of the replay, and of InputSampleMs).
void NoteWait();
// The pause ended: idle polling starts again from now (not a sample: only a real run pauses).
void NoteResumed();

// Headless run: called when the program polls for input with no script left to deliver,
// and nothing was presented, waited for or delivered for this long: it can never see new
// input.
inline constexpr double kStalledInputMs = 10000.0;
void SetStalledInputHandler(void (*handler)());

}  // namespace zrb::input
