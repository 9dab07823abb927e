// Key helpers of the menus, the joypad standing for keys, and the release tracker behind
// KeyReleaseWait.
#include "engine/frame/engine_main.h"
#include "engine/input/input.h"
#include "game/front_end.h"
#include "game/keys.h"
#include "game/state.h"
#include "game/text.h"

namespace tundrel {
namespace {

constexpr int32_t kKeyCodes = 256;

// The keys the joypad stands for, read in one go.
struct PadKeys {
  bool up = false, down = false, left = false, right = false, enter = false, escape = false;

  bool Holds(int32_t code) const {
    switch (code) {
      case kKeyUp:
        return up;
      case kKeyDown:
        return down;
      case kKeyLeft:
        return left;
      case kKeyRight:
        return right;
      case kKeyEnter:
        return enter;
      case kKeyEscape:
        return escape;
      default:
        return false;
    }
  }
};

bool IsPadKey(int32_t code) {
  return code == kKeyUp || code == kKeyDown || code == kKeyLeft || code == kKeyRight ||
         code == kKeyEnter || code == kKeyEscape;
}

PadKeys ReadPadKeys() {
  PadKeys keys;
  if (joypadEnabled != 1) return keys;
  double x = 0, y = 0, b1 = 0, b2 = 0, back = 0, start = 0;
  zrb::JoystickState(x, y, b1, b2);
  zrb::JoypadMenuButtons(back, start);
  keys.up = y == -1;
  keys.down = y == 1;
  keys.left = x == -1;
  keys.right = x == 1;
  keys.enter = b1 != 0 || start != 0;
  keys.escape = b2 != 0 || back != 0;
  return keys;
}

bool IsAlt(int32_t code) {
  return code == kKeyLeftAlt || code == kKeyRightAlt;
}

// Per code: when the press now read was first seen, and when it was last seen down. `open`
// while the press may still read as down after the key went up: only then does the look need
// the clock (a replay answers every reading of it, so the idle looks of a key wait take none).
struct PressTimes {
  double firstSeenMs = -1e300;
  double lastSeenMs = -1e300;
  bool open = false;
};

PressTimes& Times(int32_t code) {
  static PressTimes times[kKeyCodes];
  return times[code & 0xFF];
}

int32_t& OpenPresses() {
  static int32_t count = 0;
  return count;
}

void SetOpen(PressTimes& times, bool open) {
  if (times.open != open) OpenPresses() += open ? 1 : -1;
  times.open = open;
}

// The last frame the front end showed: when FinishFrame began it and when it was done.
struct ShownFrame {
  double startMs = -1e300;
  double endMs = -1e300;
};

ShownFrame& LastFrame() {
  static ShownFrame frame;
  return frame;
}

// The look at one key: down now (keyboard or pad), or within the shortest press. Times are
// those of the input samples the looks answered from (zrb::InputSampleMs).
bool LookAtKey(int32_t code, bool downNow) {
  PressTimes& times = Times(code);
  if (downNow) {
    const double now = zrb::InputSampleMs();
    // A key not seen down for longer than the shortest press is a new press.
    if (now - times.lastSeenMs > kShortestPressMs) times.firstSeenMs = now;
    times.lastSeenMs = now;
    SetOpen(times, true);
    return true;
  }
  if (!times.open) return false;
  const double now = zrb::InputSampleMs();
  if (now - times.firstSeenMs < kShortestPressMs) return true;
  // A frame begun within the shortest press keeps it a little past its end: the look after a
  // frame that took long (a loaded machine) still finds the key that opened the screen.
  const ShownFrame& frame = LastFrame();
  if (frame.startMs >= times.firstSeenMs && frame.startMs - times.firstSeenMs < kShortestPressMs &&
      now - frame.endMs < kAfterFrameMs) {
    return true;
  }
  // Time only moves on, and a frame begun from now on begins too late: the press is over.
  SetOpen(times, false);
  return false;
}

bool KeyDownWith(int32_t code, const PadKeys& pad) {
  return LookAtKey(code, zrb::KeyState(code) == 1 || pad.Holds(code));
}

void MarkAllKeys(int32_t held) {
  for (int32_t code = 0; code < kKeyCodes; ++code)
    keyHeld(code) = held;
}

// Until a key that was seen down is released (the pad's keys among them).
void WaitForRelease() {
  while (PollReleasedKeys() < 1) {
  }
}

}  // namespace

void NoteFrameShown(double startMs, double endMs) {
  LastFrame() = {startMs, endMs};
}

bool AnyPressOpen() {
  return OpenPresses() > 0;
}

void NoteFrameBegun(double startMs) {
  if (OpenPresses() == 0) return;
  // A press first seen the shortest press before this frame began is over: neither this frame
  // nor a later look (all later in time) can keep it. The rounds never look at keys this way,
  // so their frames would otherwise go on reading the clock for the key that opened them.
  for (int32_t code = 0; code < kKeyCodes; ++code) {
    PressTimes& times = Times(code);
    if (times.open && startMs - times.firstSeenMs >= kShortestPressMs) SetOpen(times, false);
  }
}

bool KeyDown(int32_t code) {
  return KeyDownWith(code, IsPadKey(code) ? ReadPadKeys() : PadKeys{});
}

void WaitKeyUp(int32_t code) {
  while (KeyDown(code)) {
  }
}

int32_t FirstKeyDown() {
  const PadKeys pad = ReadPadKeys();
  for (int32_t code = 0; code < kKeyCodes; ++code) {
    if (IsAlt(code)) continue;
    if (KeyDownWith(code, pad)) return code;
  }
  return 0;
}

bool PadBackDown() {
  if (joypadEnabled != 1) return false;
  double back = 0, start = 0;
  zrb::JoypadMenuButtons(back, start);
  return back != 0;
}

int32_t PollReleasedKeys() {
  const PadKeys pad = ReadPadKeys();
  int32_t released = 0;
  for (int32_t code = 0; code < kKeyCodes; ++code) {
    if (IsAlt(code)) continue;
    if (!KeyDownWith(code, pad)) {
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
  while (PollReleasedKeys() > 0) {
  }
  MarkAllKeys(0);
  WaitForRelease();
}

}  // namespace tundrel
