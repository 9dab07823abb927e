// The game window in a browser: the page's canvas. SDL's Emscripten backend sizes it and turns
// the page's keyboard and focus events into SDL events; the WebGL 1 context on it is made here,
// so that its drawing buffer keeps the last presented picture (a test, or the player, may read
// the canvas between frames) and has no depth, stencil or alpha the picture never uses.
#include <GLES2/gl2.h>
#include <SDL.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <string>

#include "engine/platform/clock.h"
#include "engine/platform/sdl_session.h"
#include "engine/platform/window.h"
#include "engine/platform/window_surface.h"

namespace zrb::platform {
namespace {

constexpr const char* kCanvas = "#canvas";

struct WindowState {
  SDL_Window* window = nullptr;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
  int logicalWidth = 640;
  int logicalHeight = 480;
  bool headlessOpen = false;
  std::string error;
};

WindowState& State() {
  static WindowState state;
  return state;
}

// The browser draws the page once per display frame and runs its animation-frame callbacks
// just before. Waiting for the next one hands control back to the browser (which shows the
// canvas as drawn) and resumes the game at the start of the next display frame, so the game's
// frame grid and the display's refresh stay in step. A hidden page has no display frames:
// the game waits until it is shown again.
EM_ASYNC_JS(void, WaitForAnimationFrame, (),
            { await new Promise(function(resolve) { requestAnimationFrame(resolve); }); });

bool CreateContext(WindowState& state) {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = false;
  attributes.depth = false;
  attributes.stencil = false;
  attributes.antialias = false;
  attributes.premultipliedAlpha = false;
  attributes.preserveDrawingBuffer = true;
  attributes.majorVersion = 1;
  attributes.minorVersion = 0;
  state.context = emscripten_webgl_create_context(kCanvas, &attributes);
  if (state.context <= 0) {
    state.error = "the browser gives no WebGL context";
    state.context = 0;
    return false;
  }
  if (emscripten_webgl_make_context_current(state.context) != EMSCRIPTEN_RESULT_SUCCESS) {
    state.error = "the WebGL context cannot be made current";
    emscripten_webgl_destroy_context(state.context);
    state.context = 0;
    return false;
  }
  return true;
}

}  // namespace

bool OpenWindow(const WindowConfig& config) {
  WindowState& state = State();
  CloseWindow();
  state.logicalWidth = std::max(1, config.width);
  state.logicalHeight = std::max(1, config.height);
  state.error.clear();
  if (IsHeadless()) {
    state.headlessOpen = true;
    return true;
  }
  // Keys reach the game while the canvas has the focus (the page gives it on a click), and
  // the browser's own use of them (Space scrolls, arrows move the page) is prevented there.
  SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, kCanvas);
  if (!InitSdlVideo(&state.error)) return false;
  // The canvas keeps the picture's size; the page scales it with CSS by whole numbers.
  state.window = SDL_CreateWindow(config.title.empty() ? "Zorbel" : config.title.c_str(),
                                  SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                  state.logicalWidth, state.logicalHeight, 0);
  if (!state.window) {
    state.error = SDL_GetError();
    return false;
  }
  // Without text input SDL prevents the browser's default action for every key it takes.
  SDL_StopTextInput();
  if (!CreateContext(state)) {
    SDL_DestroyWindow(state.window);
    state.window = nullptr;
    return false;
  }
  return true;
}

// A page cannot take the screen without the player's gesture at that moment; the page offers
// its own full-screen control instead.
bool SetWindowMode(int width, int height, bool fullscreen) {
  WindowState& state = State();
  if (width > 0) state.logicalWidth = width;
  if (height > 0) state.logicalHeight = height;
  if (state.window) SDL_SetWindowSize(state.window, state.logicalWidth, state.logicalHeight);
  return !fullscreen;
}

void SetWindowTitle(std::string_view title) {
  if (!State().window) return;
  const std::string text(title);
  emscripten_set_window_title(text.c_str());
}

// The page's own icon (tundrel.html) stands for the game in the browser.
void SetWindowIcon(const uint8_t*, int, int) {}

// The page scales the canvas to fit; the player never resizes a window here.
int PlayerWindowScale() {
  return 0;
}

void SwapWindow() {
  if (State().context) WaitForAnimationFrame();
}

bool SwapWaitsForDisplay() {
  return State().context != 0;
}

void DrawableSize(int* width, int* height) {
  WindowState& state = State();
  int w = state.logicalWidth, h = state.logicalHeight;
  if (state.context) emscripten_get_canvas_element_size(kCanvas, &w, &h);
  if (width) *width = w;
  if (height) *height = h;
}

// The canvas keeps its last frame (preserveDrawingBuffer): the page shows it as it is.
bool WindowIsShown() {
  return true;
}

void SetRepaintHandler(void (*)()) {}

void ServeRepaintRequest() {}

bool WindowIsOpen() {
  const WindowState& state = State();
  return state.window != nullptr || state.headlessOpen;
}

void CloseWindow() {
  WindowState& state = State();
  if (state.context) {
    emscripten_webgl_make_context_current(0);
    emscripten_webgl_destroy_context(state.context);
    state.context = 0;
  }
  if (state.window) SDL_DestroyWindow(state.window);
  state.window = nullptr;
  state.headlessOpen = false;
}

void LogicalSize(int* width, int* height) {
  const WindowState& state = State();
  if (width) *width = state.logicalWidth;
  if (height) *height = state.logicalHeight;
}

void WindowClientSize(int* width, int* height) {
  int w = 0, h = 0;
  if (State().window) emscripten_get_canvas_element_size(kCanvas, &w, &h);
  if (width) *width = w;
  if (height) *height = h;
}

void WindowPosition(int* x, int* y) {
  if (x) *x = 0;
  if (y) *y = 0;
}

bool WindowIsFullscreen() {
  return false;
}

std::string GlRendererName() {
  if (!State().context) return {};
  const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  return name ? name : "";
}

// The canvas is always drawn through WebGL (WindowConfig::drawing is not looked at): a page
// has no window surface to draw on, and the browser's WebGL is the graphics adapter's.
bool WindowDrawsOnSurface() {
  return false;
}

bool WindowSurface(SurfacePixels*) {
  return false;
}

std::string ProbeGlRendererName() {
  return {};
}

std::string WindowError() {
  return State().error;
}

}  // namespace zrb::platform
