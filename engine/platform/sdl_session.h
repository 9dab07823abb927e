// Start-up of the SDL subsystems the real mode needs. Internal to engine/platform.
#pragma once

#include <string>

struct SDL_Window;

namespace zrb::platform {

// The open window (nullptr without one).
SDL_Window* CurrentSdlWindow();

// Gives a window made without SDL_WINDOW_OPENGL its surface. False where SDL has none for it.
bool OpenWindowSurface(SDL_Window* window);

// Initialises SDL's video and event subsystems once per process. False (with SDL's reason in
// *error) when there is no display to talk to.
bool InitSdlVideo(std::string* error);

// Initialises the game-controller subsystem once. False when the platform has none.
bool InitSdlControllers(std::string* error);

// Shuts every SDL subsystem down; the next Init* starts them again.
void QuitSdl();

}  // namespace zrb::platform
