// The window surface of a window drawn by the processor.
#include <SDL.h>

#include "engine/platform/sdl_session.h"
#include "engine/platform/window_surface.h"

namespace zrb::platform {
namespace {

struct SurfaceState {
  const SDL_Surface* last = nullptr;
  const void* lastPixels = nullptr;
  int lastWidth = 0;
  int lastHeight = 0;
};

SurfaceState& Surface() {
  static SurfaceState state;
  return state;
}

int ShiftOf(Uint32 mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

}  // namespace

bool OpenWindowSurface(SDL_Window* window) {
  // SDL 2 would otherwise back the surface with an SDL_Renderer texture, through OpenGL when
  // it can: the driver this path exists to leave unloaded. With the hint off, X11 gets its
  // shared-memory image; window systems without such a surface fail here and get GL.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  Surface() = SurfaceState{};
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  return surface && surface->format->BytesPerPixel == 4;
}

bool WindowSurface(SurfacePixels* out) {
  SDL_Window* window = CurrentSdlWindow();
  if (!window || !WindowDrawsOnSurface()) return false;
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (!surface || surface->format->BytesPerPixel != 4 || !surface->pixels) return false;
  SurfaceState& state = Surface();
  out->pixels = static_cast<uint32_t*>(surface->pixels);
  out->width = surface->w;
  out->height = surface->h;
  out->pitch = surface->pitch / 4;
  out->redShift = ShiftOf(surface->format->Rmask);
  out->greenShift = ShiftOf(surface->format->Gmask);
  out->blueShift = ShiftOf(surface->format->Bmask);
  out->fresh = state.last != surface || state.lastPixels != surface->pixels ||
               state.lastWidth != surface->w || state.lastHeight != surface->h;
  state.last = surface;
  state.lastPixels = surface->pixels;
  state.lastWidth = surface->w;
  state.lastHeight = surface->h;
  return true;
}

}  // namespace zrb::platform
