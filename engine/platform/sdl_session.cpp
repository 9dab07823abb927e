#include "engine/platform/sdl_session.h"

#include <SDL.h>

#include <cstring>

namespace zrb::platform {
namespace {

bool InitSubsystem(Uint32 flags, std::string* error) {
  if (SDL_WasInit(flags) == flags) return true;
  if (SDL_InitSubSystem(flags) == 0) return true;
  if (error) *error = SDL_GetError();
  return false;
}

}  // namespace

bool InitSdlVideo(std::string* error) {
  // The player may keep a screen saver from starting while the game runs: it has no input
  // between rounds for long stretches, yet the picture is alive.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
  // Alt+Tab away from a full-screen window must not minimise it behind the player's back.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (!InitSubsystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS, error)) return false;
  // Without an X11 or Wayland display SDL falls back to drivers that show nothing; the game
  // would then wait for keys nobody can press. Those count only when asked for by name.
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool invisible =
      driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
  if (invisible && !SDL_getenv("SDL_VIDEODRIVER")) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    if (error) *error = "no display to show the window on (is DISPLAY or WAYLAND_DISPLAY set?)";
    return false;
  }
  return true;
}

bool InitSdlControllers(std::string* error) {
  // SDL keeps the controller state current in the background; whether a reading counts while
  // the window is inactive is decided by the input module.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  return InitSubsystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK, error);
}

void QuitSdl() {
  if (SDL_WasInit(0) != 0) SDL_Quit();
}

}  // namespace zrb::platform
