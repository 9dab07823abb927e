#include "engine/platform/live_input.h"

namespace zrb::platform {
namespace {

LiveKeyboard g_keyboard;
bool g_active = true;
// Enter keys that went down with Alt held: the game never sees them until released.
std::array<bool, kKeyCodeCount> g_enterTaken{};

bool IsEnter(int code) {
  return code == kKeyEnter || code == kKeyPadEnter;
}

bool AltHeld() {
  return g_keyboard.down[kKeyLeftAlt] || g_keyboard.down[kKeyRightAlt];
}

}  // namespace

const LiveKeyboard& Keyboard() {
  return g_keyboard;
}

bool ApplyKeyEvent(int code, bool down) {
  if (code <= 0 || code >= kKeyCodeCount) return false;
  if (IsEnter(code) && (g_enterTaken[code] || (down && !g_keyboard.down[code] && AltHeld()))) {
    // Repeats of a taken Enter change nothing; its release gives the key back.
    const bool switchAsked = down && !g_enterTaken[code] && g_active;
    g_enterTaken[code] = down;
    return switchAsked;
  }
  if (down && !g_keyboard.down[code] && g_active) ++g_keyboard.presses[code];
  g_keyboard.down[code] = down;
  return false;
}

bool WindowIsActive() {
  return g_active;
}

void SetWindowActive(bool active) {
  g_active = active;
}

void ResetLiveInput() {
  g_keyboard = LiveKeyboard{};
  g_enterTaken.fill(false);
  g_active = true;
}

}  // namespace zrb::platform
