// Key helpers of the menus and the release tracker behind KeyReleaseWait.
#include "engine/input/input.h"
#include "game/front_end.h"
#include "game/keys.h"
#include "game/state.h"
#include "game/text.h"

namespace tundrel {
namespace {

constexpr int32_t kKeyCodes = 256;

void MarkAllKeys(int32_t held) {
  for (int32_t code = 0; code < kKeyCodes; ++code)
    keyHeld(code) = held;
}

// Until a key that was seen down is released, or the joypad is pushed.
void WaitForRelease() {
  while (PollReleasedKeys() < 1 && !JoypadPushed()) {
  }
}

}  // namespace

bool KeyDown(int32_t code) {
  return zrb::KeyState(code) == 1;
}

void WaitKeyUp(int32_t code) {
  while (KeyDown(code)) {
  }
}

int32_t PollReleasedKeys() {
  int32_t released = 0;
  for (int32_t code = 0; code < kKeyCodes; ++code) {
    if (!KeyDown(code)) {
      if (keyHeld(code) != 0) {
        keyHeld(code) = 0;
        ++released;
      }
    } else {
      keyHeld(code) = 1;
    }
  }
  return released;
}

void KeyReleaseWait() {
  MarkAllKeys(0);
  WaitForRelease();
  // Everything counts as held once: the first poll reports every key that is up, so the
  // loop stops at the first poll after which nothing more was let go.
  MarkAllKeys(1);
  while (PollReleasedKeys() > 0 && !JoypadPushed()) {
  }
  MarkAllKeys(0);
  WaitForRelease();
}

}  // namespace tundrel
