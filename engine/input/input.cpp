#include "engine/input/input.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/input/idle_poll.h"
#include "engine/input/input_system.h"
#include "engine/platform/clock.h"
#include "engine/platform/events.h"
#include "engine/platform/input_script.h"
#include "engine/platform/joypad.h"
#include "engine/platform/live_input.h"
#include "engine/platform/log_file.h"
#include "engine/platform/pointer.h"

namespace zrb {
namespace input {
namespace {

// Where the pointer goes when it is shown again after being hidden (client coordinates).
constexpr int kPointerHomeX = 100;
constexpr int kPointerHomeY = 100;

struct InputState {
  // What the game sees: the live keys as they were at the last sample taken while the
  // window was active.
  std::array<bool, platform::kKeyCodeCount> snapshot{};
  // Per code, the live press count up to which presses have been read or have expired.
  std::array<uint32_t, platform::kKeyCodeCount> pressesRead{};
  // Press counts at the previous frame sample: presses before it expire at the next one.
  std::array<uint32_t, platform::kKeyCodeCount> pressesAtFrame{};
  IdlePolicy idle;
  bool pointerShown = true;
  bool joypadsOpen = false;
  void (*stalledHandler)() = nullptr;
};

InputState& State() {
  static InputState state;
  return state;
}

void TakeSnapshot() {
  if (!platform::WindowIsActive()) return;
  State().snapshot = platform::Keyboard().down;
}

bool PressPending(int code) {
  return platform::WindowIsActive() &&
         platform::Keyboard().presses[code] != State().pressesRead[code];
}

// The D-pad, where it is pressed, stands for the stick: -1, 0 or 1 along one axis.
double Direction(int axis, int toLow, int toHigh) {
  if (toLow != 0 && toHigh == 0) return -1;
  if (toHigh != 0 && toLow == 0) return 1;
  return std::trunc(axis / 30000.0);
}

// Every game-facing poll passes here: pacing of idle loops, then the event pump.
void Poll() {
  InputState& state = State();
  const bool headless = platform::IsHeadless();
  const double now = platform::NowMs();
  const PollStep step = state.idle.OnPoll(now, headless);
  if (step.advanceMs > 0) platform::AdvanceVirtualClock(step.advanceMs);
  if (step.sleepMs > 0) {
    platform::SleepMs(step.sleepMs);
    state.idle.NoteWoke(platform::NowMs());
  }
  if (step.pump) platform::PumpEvents();
  TakeSnapshot();
  if (headless && state.stalledHandler && platform::InputScriptExhausted() &&
      platform::NowMs() - std::max(state.idle.LastWaitMs(), platform::InputScriptEndMs()) >
          kStalledInputMs) {
    state.stalledHandler();
  }
}

}  // namespace

void InitInput(const InputConfig& config) {
  InputState& state = State();
  state.snapshot.fill(false);
  state.pressesRead.fill(0);
  state.pressesAtFrame.fill(0);
  state.idle = IdlePolicy{};
  state.idle.NoteWait(platform::NowMs());
  platform::ResetLiveInput();
  if (!platform::IsHeadless() && !state.joypadsOpen) {
    std::string error;
    state.joypadsOpen = platform::OpenJoypads(&error, config.controllerMappings);
    if (!state.joypadsOpen) platform::AppendLogLine("No joypad support: " + error);
  }
  if (config.exclusiveMouse) ShowMousePointer(0);
}

void ShutdownInput() {
  InputState& state = State();
  if (state.joypadsOpen) platform::CloseJoypads();
  state.joypadsOpen = false;
  platform::ResetScriptedJoypad();
}

void SampleForFrame() {
  InputState& state = State();
  platform::PumpEvents();
  TakeSnapshot();
  const auto& presses = platform::Keyboard().presses;
  for (int code = 0; code < platform::kKeyCodeCount; ++code) {
    // Counts only grow; the difference tells which of the two marks is further along.
    if (static_cast<int32_t>(state.pressesAtFrame[code] - state.pressesRead[code]) > 0) {
      state.pressesRead[code] = state.pressesAtFrame[code];
    }
  }
  state.pressesAtFrame = presses;
}

bool KeyDownInFrameSample(int code) {
  code &= 0xFF;
  return State().snapshot[code] || PressPending(code);
}

void NoteWait() {
  State().idle.NoteWait(platform::NowMs());
}

void SetStalledInputHandler(void (*handler)()) {
  State().stalledHandler = handler;
}

}  // namespace input

int KeyState(int code) {
  input::Poll();
  code &= 0xFF;
  input::InputState& state = input::State();
  bool down = state.snapshot[code];
  if (input::PressPending(code)) {
    state.pressesRead[code] = platform::Keyboard().presses[code];
    down = true;
  }
  return down ? 1 : 0;
}

void JoystickState(double& x, double& y, double& b1, double& b2) {
  input::Poll();
  x = y = b1 = b2 = 0;
  // The joypad belongs to the game only while its window is in front.
  if (!platform::WindowIsActive()) return;
  const platform::JoypadReading pad = platform::ReadJoypad();
  if (!pad.present) return;
  x = input::Direction(pad.x, pad.dpadLeft, pad.dpadRight);
  y = input::Direction(pad.y, pad.dpadUp, pad.dpadDown);
  b1 = pad.button1;
  b2 = pad.button2;
}

void JoypadMenuButtons(double& back, double& start) {
  input::Poll();
  back = start = 0;
  if (!platform::WindowIsActive()) return;
  const platform::JoypadReading pad = platform::ReadJoypad();
  back = pad.back;
  start = pad.start;
}

void ShowMousePointer(double show) {
  input::InputState& state = input::State();
  const bool visible = show != 0;
  if (visible && !state.pointerShown) {
    platform::MovePointerInWindow(input::kPointerHomeX, input::kPointerHomeY);
  }
  platform::ShowPointer(visible);
  state.pointerShown = visible;
}

}  // namespace zrb
