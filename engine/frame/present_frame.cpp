// Presenting a frame on the grid, the message pump, and the window procedure's handling of
// close requests and focus changes.
#include <cstdio>

#include "engine/audio/audio_system.h"
#include "engine/frame/desktop.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/frame_pacing.h"
#include "engine/frame/frame_state.h"
#include "engine/frame/frame_stats.h"
#include "engine/graphics/graphics_system.h"
#include "engine/input/input_system.h"
#include "engine/platform/clock.h"
#include "engine/platform/events.h"
#include "engine/platform/replay.h"
#include "engine/platform/window.h"

namespace zrb::frame {
namespace {

constexpr const char* kPauseSuffix = " <pause>";

void OnCloseRequest() {
  EndProgram(0);
}

void OnActivationChanged(bool active) {
  FrameState& state = State();
  if (!state.autoPause || state.settings.debug) return;
  if (!active) {
    platform::SetWindowTitle(state.normalTitle + kPauseSuffix);
    if (!state.paused) {
      state.paused = true;
      CallByName("ZRB_ON_PAUSE");
    }
  } else {
    platform::SetWindowTitle(state.normalTitle);
    if (state.paused) {
      state.paused = false;
      CallByName("ZRB_ON_RESUME");
    }
  }
}

// A headless run that polls for input when its script has nothing left would wait forever.
void OnStalledInput() {
  const char* name = State().program.name ? State().program.name : "zrb";
  if (platform::ReplayPassedItsEnd()) {
    std::fprintf(stderr, "%s: the replay ends here, but the game it shows went on\n", name);
    AppendLogLine("Replay ended before the game did");
    EndProgram(0);
  }
  std::fprintf(stderr, "%s: headless run is waiting for input and its script has none left\n",
               name);
  AppendLogLine("Headless run ended: waiting for input with no scripted input left");
  EndProgram(0);
}

void WriteTraceLine(long frameNumber, double releaseMs) {
  FrameState& state = State();
  // Taken every frame, so the record never piles up when nobody traces.
  const audio::AudioEvents events = audio::TakeAudioEvents();
  if (!state.trace.IsOpen()) return;
  TraceWriter trace;
  trace.Int("frame", frameNumber);
  trace.Fixed("ms", releaseMs, 3);
  if (state.program.traceFrame) state.program.traceFrame(trace);
  std::string line = trace.Finish();
  // The engine's own arrays close the object, outside anything the game left open.
  line.pop_back();
  TraceWriter tail;
  tail.BeginArray("sounds");
  for (const std::string& sound : events.sounds)
    tail.String({}, sound);
  tail.EndArray();
  tail.BeginArray("music");
  for (const std::string& music : events.music)
    tail.String({}, music);
  tail.EndArray();
  const std::string tailText = tail.Finish();  // {"sounds":[...],"music":[...]}
  line += ',';
  line.append(tailText, 1, std::string::npos);
  state.trace.WriteLine(line);
}

}  // namespace

void InstallEventHandlers() {
  platform::SetWindowEventHandlers({&OnCloseRequest, &OnActivationChanged, &OnDisplayModeKey});
  platform::SetRepaintHandler(&graphics::RepaintWindow);
  input::SetStalledInputHandler(&OnStalledInput);
}

void PumpMessages() {
  FrameState& state = State();
  if (state.messageCallbackLookup == FrameState::CallbackLookup::kNotYet) {
    state.messageCallback = nullptr;
    if (const FunctionNameEntry* table = state.program.functionNames) {
      for (; table->function; ++table) {
        if (table->name && std::string_view(table->name) == "ZRB_WIN32_MSG") {
          state.messageCallback = table->function;
          break;
        }
      }
    }
    state.messageCallbackLookup = state.messageCallback ? FrameState::CallbackLookup::kPresent
                                                        : FrameState::CallbackLookup::kAbsent;
  }
  platform::PumpEvents(state.messageCallback);
}

void PresentFrame() {
  FrameState& state = State();
  const long frameNumber = state.framesPresented + 1;
  if (graphics::BeforeSwap(frameNumber)) platform::SwapWindow();
  graphics::AfterSwap();
  state.framesPresented = frameNumber;

  // The wait pumps no events: the window system's messages are taken once, at the deadline,
  // where the next frame's input is read straight after.
  double now = 0;
  for (;;) {
    now = platform::NowMs();
    const WaitStep step = platform::SwapWaitsForDisplay()
                              ? NextWaitStepOnDisplay(state.deadlineMs, now, state.periodMs)
                              : NextWaitStep(state.deadlineMs, now);
    if (step.action == WaitStep::Action::kRelease) break;
    if (platform::IsHeadless()) {
      // The wait costs exactly the time to the deadline. (Sleeping the steps instead could
      // end short of it by less than the virtual clock can count, and never get there.)
      platform::AdvanceVirtualClockTo(state.deadlineMs);
    } else if (step.action == WaitStep::Action::kSleep) {
      platform::SleepMs(step.sleepMs);
    }
  }
  PumpMessages();
  now = platform::NowMs();
  state.lastDeadlineMs = state.deadlineMs;
  state.lastReleaseMs = now;
  state.deadlineMs = NextDeadline(state.deadlineMs, now, state.periodMs);
  input::NoteWait();
  WriteTraceLine(frameNumber, now);

  const long maxFrames = state.options.maxFrames;
  if (maxFrames > 0 && frameNumber >= maxFrames && !state.initialising) EndProgram(0);
  // The recorded run ended after this frame (--max-frames): so does its replay.
  if (platform::ReplayAtItsEnd() && !state.initialising) EndProgram(0);
}

FrameStats CurrentFrameStats() {
  const FrameState& state = State();
  FrameStats stats;
  stats.framesPresented = state.framesPresented;
  stats.lastDeadlineMs = state.lastDeadlineMs;
  stats.lastReleaseMs = state.lastReleaseMs;
  stats.nextDeadlineMs = state.deadlineMs;
  stats.periodMs = state.periodMs;
  return stats;
}

const char* DefaultFontName() {
  return State().defaultFont.c_str();
}

int SelectedFont() {
  return State().selectedFont;
}

}  // namespace zrb::frame
