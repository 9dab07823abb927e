#include <SDL.h>

#include "engine/platform/clock.h"
#include "engine/platform/message_box.h"
#include "engine/platform/pointer.h"

namespace zrb::platform {

void ShowPointer(bool show) {
  if (IsHeadless() || SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void MovePointerInWindow(int x, int y) {
  if (IsHeadless() || SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
  if (SDL_Window* window = SDL_GL_GetCurrentWindow()) SDL_WarpMouseInWindow(window, x, y);
}

bool ShowWarningBox(const std::string& title, const std::string& text) {
  if (IsHeadless()) return false;
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title.c_str(), text.c_str(),
                                  SDL_GL_GetCurrentWindow()) == 0;
}

}  // namespace zrb::platform
