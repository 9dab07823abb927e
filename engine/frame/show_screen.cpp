#include "engine/frame/show_screen.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "engine/audio/audio_system.h"
#include "engine/frame/desktop.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/frame_state.h"
#include "engine/graphics/graphics_system.h"
#include "engine/input/input_system.h"
#include "engine/platform/clock.h"
#include "engine/platform/input_script.h"
#include "engine/platform/key_codes.h"
#include "engine/platform/player_folders.h"
#include "engine/platform/replay.h"

namespace zrb {
namespace frame {
namespace {

constexpr double kPauseSleepMs = 200;

void RunPauseLoop() {
  FrameState& state = State();
  std::puts("pause loop in showscreen");
  std::fflush(stdout);
  while (state.paused) {
    if (platform::IsHeadless() && platform::InputScriptExhausted() &&
        platform::ReplayInputExhausted()) {
      // Nothing is left that could give the focus back.
      std::fprintf(stderr, "%s: headless run is paused and its script has no input left\n",
                   state.program.name ? state.program.name : "zrb");
      AppendLogLine("Headless run ended: paused with no scripted input left");
      EndProgram(0);
    }
    audio::MusicLoopStep();
    PumpMessages();
    platform::SleepMs(kPauseSleepMs);
  }
  input::NoteResumed();
  std::puts("pause ended");
  std::fflush(stdout);
}

// F12 asks for a screenshot of the next presented frame, named after the program and
// numbered past the screenshots already in the working directory (an installed program's:
// in the player's pictures folder).
void RequestScreenshotOfNextFrame() {
  FrameState& state = State();
  graphics::RequestNumberedScreenshot(
      state.framesPresented + 1,
      platform::ScreenshotFolder() + (state.program.name ? state.program.name : "zrb"));
}

}  // namespace
}  // namespace frame

void ShowScreen() {
  frame::FrameState& state = frame::State();
  state.previousFrameMs = state.currentFrameMs;
  state.currentFrameMs = platform::NowMs();
  if (state.paused) frame::RunPauseLoop();

  input::SampleForFrame();
  if (state.escapeEnds && input::KeyDownInFrameSample(platform::kKeyEscape)) EndProgram(0);
  if (input::KeyDownInFrameSample(platform::kKeyLeftAlt) &&
      input::KeyDownInFrameSample(platform::kKeyF4)) {
    EndProgram(0);
  }
  const bool screenshotKey = input::KeyDownInFrameSample(platform::kKeyF12);
  if (screenshotKey && !state.screenshotKeyWasDown) frame::RequestScreenshotOfNextFrame();
  state.screenshotKeyWasDown = screenshotKey;

  audio::MusicLoopStep();
  frame::PumpMessages();
  frame::PresentFrame();
  graphics::ResetDrawState();
  frame::SwitchDisplayModeIfAsked();
}

void AllowEscape(double on) {
  frame::State().escapeEnds = on != 0;
}

void AutoPause(int on) {
  frame::State().autoPause = on != 0;
}

void SleepMs(int ms) {
  if (ms > 0) platform::SleepMs(ms);
  input::NoteWait();
}

namespace {

bool DebuggerAttached() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("TracerPid:", 0) == 0) return std::stol(line.substr(10)) != 0;
  }
  return false;
}

}  // namespace

double CallByName(std::string_view name) {
  if (const FunctionNameEntry* table = frame::State().program.functionNames) {
    for (; table->function; ++table) {
      if (table->name && std::string_view(table->name) == name) {
        table->function();
        return 1.0;
      }
    }
  }
  if (name != "ZRB_ON_QUIT" && name != "ZRB_WIN32_MSG" && DebuggerAttached()) {
    std::fprintf(stderr, "TXCALLBYNAME \"%.*s\" *** failed ***\n", static_cast<int>(name.size()),
                 name.data());
  }
  return 0.0;
}

}  // namespace zrb
