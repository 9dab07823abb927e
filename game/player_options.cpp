#include "game/player_options.h"

#include "engine/frame/engine_main.h"
#include "engine/frame/screen.h"
#include "game/settings_file.h"
#include "game/state.h"

namespace tundrel {

void ApplyJoypadOption() {
  const auto& chosen = zrb::EngineOptions().joypad;
  if (!chosen) return;
  const int32_t enabled = *chosen ? 1 : 0;
  if (joypadEnabled == enabled) return;
  joypadEnabled = enabled;
  SaveSettings();
}

void ToggleFullScreen() {
  fullScreen = fullScreen == 0 ? 1 : 0;
  zrb::SetScreen(640, 480, fullScreen);
}

}  // namespace tundrel
