// A placeholder entry until the game itself lands: it presents empty frames until Escape
// (the engine's own Escape ending is left on) or any other ending.
#include "game/game_entry.h"

#include "engine/frame/show_screen.h"

namespace tundrel {
namespace {

long framesShown = 0;

}  // namespace

void ProjectSettings(zrb::ProjectSettings& settings) {
  settings.width = 640;
  settings.height = 480;
  settings.frameRate = 60;
  settings.fullScreen = false;
  settings.debug = false;
  settings.exclusiveMouse = false;
  settings.multisample = false;
  settings.caption = "Tundrel";
}

int GameMain() {
  for (;;) {
    zrb::ShowScreen();
    ++framesShown;
  }
}

void TraceFrame(zrb::TraceWriter& trace) {
  trace.String("screen", "placeholder");
  trace.Int("framesShown", framesShown);
}

}  // namespace tundrel
