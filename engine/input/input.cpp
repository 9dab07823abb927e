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
#include "engine/platform/replay.h"

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
  // The engine clock at the last sample: a pump, a presented frame or a wait.
  double sampleMs = 0;
  // The joypad as the replay being recorded last noted it.
  platform::JoypadReading recordedPad;
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

// Every game-facing poll passes here: pacing of idle loops, then the event pump. Each poll is
// a sample of the replay (its input arrives at the same poll whatever the real timing).
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
  platform::BeginSample();
  if (step.pump) {
    platform::PumpEvents();
    state.sampleMs = platform::NowMs();
  } else {
    platform::DeliverDueReplayInput();
  }
  TakeSnapshot();
  platform::EndSample();
  if (state.stalledHandler &&
      (platform::ReplayPassedItsEnd() ||
       (headless && platform::InputScriptExhausted() && platform::ReplayInputExhausted() &&
        platform::NowMs() - std::max(state.idle.LastWaitMs(), platform::InputScriptEndMs()) >
            kStalledInputMs))) {
    state.stalledHandler();
  }
}

void RecordPadChange(int& noted, int now, platform::ScriptEvent::Kind kind, int code) {
  if (noted == now) return;
  noted = now;
  platform::ScriptEvent event;
  event.kind = kind;
  event.code = code;
  event.value = now;
  platform::RecordInputAtSample(event);
}

// Recording: the joypad's changes as the game reads them (a device is read, not pumped).
void RecordPad(const platform::JoypadReading& pad) {
  if (platform::CurrentReplayMode() != platform::ReplayMode::kRecording) return;
  using Kind = platform::ScriptEvent::Kind;
  platform::JoypadReading& noted = State().recordedPad;
  const platform::JoypadReading now = pad.present ? pad : platform::JoypadReading{};
  RecordPadChange(noted.x, now.x, Kind::kJoyAxis, 0);
  RecordPadChange(noted.y, now.y, Kind::kJoyAxis, 1);
  RecordPadChange(noted.button1, now.button1, Kind::kJoyButton, platform::kJoyButton1);
  RecordPadChange(noted.button2, now.button2, Kind::kJoyButton, platform::kJoyButton2);
  RecordPadChange(noted.back, now.back, Kind::kJoyButton, platform::kJoyBack);
  RecordPadChange(noted.start, now.start, Kind::kJoyButton, platform::kJoyStart);
  RecordPadChange(noted.dpadUp, now.dpadUp, Kind::kJoyButton, platform::kJoyDpadUp);
  RecordPadChange(noted.dpadDown, now.dpadDown, Kind::kJoyButton, platform::kJoyDpadDown);
  RecordPadChange(noted.dpadLeft, now.dpadLeft, Kind::kJoyButton, platform::kJoyDpadLeft);
  RecordPadChange(noted.dpadRight, now.dpadRight, Kind::kJoyButton, platform::kJoyDpadRight);
}

platform::JoypadReading ReadPad() {
  const platform::JoypadReading pad = platform::ReadJoypad();
  RecordPad(pad);
  return pad;
}

}  // namespace

void InitInput(const InputConfig& config) {
  InputState& state = State();
  state.snapshot.fill(false);
  state.pressesRead.fill(0);
  state.pressesAtFrame.fill(0);
  state.idle = IdlePolicy{};
  state.idle.NoteWait(platform::NowMs());
  state.sampleMs = platform::NowMs();
  state.recordedPad = {};
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
  platform::BeginSample();
  // A replay played past the end of the run it recorded (frames that poll nothing) ends here.
  if (platform::ReplayPassedItsEnd() && state.stalledHandler) state.stalledHandler();
  platform::PumpEvents();
  state.sampleMs = platform::NowMs();
  TakeSnapshot();
  platform::EndSample();
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
  InputState& state = State();
  state.sampleMs = platform::NowMs();
  state.idle.NoteWait(state.sampleMs);
  platform::CountStep();
}

void NoteResumed() {
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
  const platform::JoypadReading pad = input::ReadPad();
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
  const platform::JoypadReading pad = input::ReadPad();
  back = pad.back;
  start = pad.start;
}

double InputSampleMs() {
  return platform::AnswerForReplay(platform::ReplayAnswerKind::kTime, 0, input::State().sampleMs);
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
