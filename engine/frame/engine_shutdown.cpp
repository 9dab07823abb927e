#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/audio/audio_system.h"
#include "engine/files/file_channels.h"
#include "engine/files/resolver.h"
#include "engine/frame/desktop.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/frame_state.h"
#include "engine/graphics/graphics_system.h"
#include "engine/input/input_system.h"
#include "engine/platform/input_script.h"
#include "engine/platform/sdl_session.h"
#include "engine/platform/window.h"
#include "engine/values/runtime_error.h"

namespace zrb {

void EngineShutdown() {
  frame::FrameState& state = frame::State();
  if (!state.quitCallbackDone) {
    state.quitCallbackDone = true;
    CallByName("ZRB_ON_QUIT");
  }
  state.trace.Close();
  if (!state.windowCreated) {
    platform::QuitSdl();
    return;
  }
  state.windowCreated = false;
  AppendLogLine("Shut down ZRB");

  // The music goes first, so nothing plays on while the rest is taken down.
  if (state.audioUp) audio::ShutdownAudio();
  state.audioUp = false;
  frame::EnterWorkingDirectory();
  files::CloseAllFileChannels();

  if (state.inputUp) input::ShutdownInput();
  state.inputUp = false;
  if (state.graphicsUp) graphics::ShutdownGraphics();
  state.graphicsUp = false;
  if (state.archiveSet) files::ReleaseArchiveSlots();
  state.archiveSet = false;
  frame::StoreWindowScale();
  platform::CloseWindow();
  platform::ClearInputScript();
  platform::QuitSdl();
  AppendLogLine("zrb is shut down");
}

void EndProgram(int exitCode) {
  frame::FrameState& state = frame::State();
  // A fatal error raised while ending must not start the ending again.
  if (!state.ending) {
    state.ending = true;
    if (state.settings.debug) {
      const RuntimeErrorRecord& record = RuntimeError();
      AppendLogLine("-End On Line");
      AppendLogLine(std::to_string(record.code));
      AppendLogLine(std::to_string(record.errorLine - 1));
      AppendLogLine(std::to_string(record.currentLine));
      AppendLogLine(std::to_string(state.framesPresented));
    }
    frame::KeepReplay();
    EngineShutdown();
  }
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(exitCode);
}

}  // namespace zrb
