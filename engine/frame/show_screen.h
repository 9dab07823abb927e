// The heartbeat: presenting a frame, pacing, pause, and the engine's own key handling.
#pragma once

#include <string_view>

namespace zrb {

// Presents the frame, dispatches window events, waits for the next point of the frame grid,
// samples the keyboard, restarts looping music, and ends the program on a close request,
// Alt+F4, or Escape (while AllowEscape is on). Holds the program while it is paused.
void ShowScreen();

// Non-zero: Escape ends the program at the next ShowScreen (the default). 0: it does not.
void AllowEscape(double on);

// Non-zero: losing the focus pauses the program (the default). 0: it does not.
void AutoPause(int on);

// Holds the whole program for `ms` milliseconds; no frame is presented meanwhile.
void SleepMs(int ms);

// A game function the engine may call by name.
struct FunctionNameEntry {
  void (*function)();
  const char* name;
};

// Calls the first registered function of exactly that name: 1.0 when one was called, else 0.0.
double CallByName(std::string_view name);

}  // namespace zrb
