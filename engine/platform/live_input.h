// The input as it stands right now: keys held (by set-1 code), key presses counted, and
// whether the game window is the active one. Fed by SDL's events in a real run and by the
// input script in either mode; the input module samples it.
#pragma once

#include <array>
#include <cstdint>

#include "engine/platform/key_codes.h"

namespace zrb::platform {

struct LiveKeyboard {
  std::array<bool, kKeyCodeCount> down{};
  // Key-down transitions seen while the window was active, per code. Lets a reader notice a
  // press that was already released again when it looked.
  std::array<uint32_t, kKeyCodeCount> presses{};
};

const LiveKeyboard& Keyboard();

// A key went down or up. Repeats of a held key change nothing. Alt+Enter (either Alt, either
// Enter) is the display-mode key and never an Enter: that Enter does not show as held or
// pressed until it is released and pressed again. True for the press that asks for the other
// display mode.
bool ApplyKeyEvent(int code, bool down);

// The window starts active; focus events switch it.
bool WindowIsActive();
void SetWindowActive(bool active);

// Everything back to the start: no key down, no presses, window active.
void ResetLiveInput();

}  // namespace zrb::platform
