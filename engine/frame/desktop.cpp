#include "engine/frame/desktop.h"

#include <span>

#include "engine/frame/frame_state.h"
#include "engine/frame/screen.h"
#include "engine/frame/window_preferences.h"
#include "engine/graphics/graphics_system.h"
#include "engine/platform/clock.h"
#include "engine/platform/paths.h"
#include "engine/platform/player_folders.h"
#include "engine/platform/window.h"

namespace zrb::frame {

void ChooseRunFolders(const GameProgram& program, const CommandLineOptions& options) {
  FrameState& state = State();
  state.preferencesPath.clear();
  state.storedWindowScale = 0;
  if (!program.install) {
    platform::SetPlayerFolders({});
    return;
  }
  const platform::Environment env = platform::Environment::Current();
  platform::SetPlayerFolders(platform::ChoosePlayerFolders(
      platform::ExecutableDirectory(), *program.install, env, platform::ReadUserDirsFile(env)));
  const platform::PlayerFolders& folders = platform::CurrentPlayerFolders();
  state.preferencesPath =
      PreferencesPath(folders.installed, RunWorkingFolder(options), folders.playerData);
  if (!state.preferencesPath.empty()) {
    state.storedWindowScale = ReadWindowScale(state.preferencesPath);
  }
}

std::string RunWorkingFolder(const CommandLineOptions& options) {
  if (!options.workingDirectory.empty()) return options.workingDirectory;
  const std::string& data = platform::CurrentPlayerFolders().dataFolder;
  return data.empty() ? platform::ExecutableDirectory() : data;
}

int StartingWindowScale(const GameProgram& program, const CommandLineOptions& options) {
  if (options.scale > 0) return options.scale;
  if (!program.install) return 1;
  return State().storedWindowScale;  // 0 when none is stored: the largest that fits
}

bool ApplyWindowIcon(const GameProgram& program) {
  if (!program.iconPng || program.iconPngSize == 0 || platform::IsHeadless()) return true;
  if (graphics::SetWindowIconPng(std::span(program.iconPng, program.iconPngSize))) return true;
  AppendLogLine("The window icon cannot be read");
  return false;
}

void StoreWindowScale() {
  FrameState& state = State();
  if (state.preferencesPath.empty() || !platform::WindowIsOpen()) return;
  const int scale = platform::PlayerWindowScale();
  if (scale == 0 || scale == state.storedWindowScale) return;
  if (WriteWindowScale(state.preferencesPath, scale)) state.storedWindowScale = scale;
}

void OnDisplayModeKey() {
  State().displayModeKeyPending = true;
}

void SwitchDisplayModeIfAsked() {
  FrameState& state = State();
  if (!state.displayModeKeyPending) return;
  state.displayModeKeyPending = false;
  if (state.program.displayModeKey) {
    state.program.displayModeKey();
  } else {
    SetScreen(0, 0, state.settings.fullScreen ? 0 : 1);
  }
}

}  // namespace zrb::frame
