#include "engine/platform/live_input.h"

namespace zrb::platform {
namespace {

LiveKeyboard g_keyboard;
bool g_active = true;

}  // namespace

const LiveKeyboard& Keyboard() {
  return g_keyboard;
}

void ApplyKeyEvent(int code, bool down) {
  if (code <= 0 || code >= kKeyCodeCount) return;
  if (down && !g_keyboard.down[code] && g_active) ++g_keyboard.presses[code];
  g_keyboard.down[code] = down;
}

bool WindowIsActive() {
  return g_active;
}

void SetWindowActive(bool active) {
  g_active = active;
}

void ResetLiveInput() {
  g_keyboard = LiveKeyboard{};
  g_active = true;
}

}  // namespace zrb::platform
