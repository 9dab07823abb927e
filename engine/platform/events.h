// The event pump: takes what is pending (SDL's queue in a real run, the input script's due
// lines in either mode) and turns it into key state, joypad state, and the window events the
// frame module acts on. It never blocks.
#pragma once

namespace zrb::platform {

struct WindowEventHandlers {
  void (*closeRequested)() = nullptr;  // close box, window manager, Ctrl+C
  void (*activationChanged)(bool active) = nullptr;
  void (*displayModeKey)() = nullptr;  // Alt+Enter
};

// Installed by the frame module; the handlers may end the process from inside the pump.
void SetWindowEventHandlers(const WindowEventHandlers& handlers);

// Handles every pending event. `beforeEach`, when given, runs before each event is handled.
// While a replay plays, its due input takes the place of SDL's and the script's; SDL's queue
// then only ends the run (a close request or Escape).
void PumpEvents(void (*beforeEach)() = nullptr);

// Only the replay's due input, for a poll that does not pump.
void DeliverDueReplayInput(void (*beforeEach)() = nullptr);

}  // namespace zrb::platform
