#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "engine/platform/clock.h"
#include "engine/platform/picture_layout.h"
#include "engine/platform/sdl_session.h"
#include "engine/platform/window.h"
#include "engine/platform/window_surface.h"

namespace zrb::platform {
namespace {

struct SdlWindowDeleter {
  void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
struct GlContextDeleter {
  void operator()(void* context) const {
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
  }
};
using WindowHandle = std::unique_ptr<SDL_Window, SdlWindowDeleter>;
using ContextHandle = std::unique_ptr<void, GlContextDeleter>;

struct WindowState {
  // Declared before the window so that it is destroyed first.
  WindowHandle window;
  ContextHandle context;
  int logicalWidth = 640;
  int logicalHeight = 480;
  int scale = 1;        // wanted in a window; 0: the largest whole scale that fits
  int placedScale = 0;  // the whole scale the window was last given (0: not placed yet)
  int playerScale = 0;  // the whole scale the player resized the window to (0: never)
  bool fullscreen = false;
  bool headlessOpen = false;
  std::atomic<bool> repaintWanted = false;
  void (*repaintHandler)() = nullptr;
  bool onSurface = false;  // drawn on the window's surface, no GL context
  std::string error;

  // CloseWindow releases the window and its context on every ordinary ending. A process that
  // exits without it (Xlib ends the program when the display goes away) leaves both to the
  // operating system: talking to a dead display connection during exit never returns.
  ~WindowState() {
    context.release();  // NOLINT(bugprone-unused-return-value)
    window.release();   // NOLINT(bugprone-unused-return-value)
  }
};

WindowState& State() {
  static WindowState state;
  return state;
}

// Colour only: the engine's 2-D drawing never tests depth or stencil. (Under Mesa's llvmpipe
// a window without them draws a round frame in about two thirds of the processor time: a
// depth clear per pixel is gone, and llvmpipe takes its fast 2-D path.)
void SetContextAttributes(bool multisample) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisample ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisample ? 4 : 0);
}

SDL_Rect WorkArea(SDL_Window* window) {
  int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
  if (display < 0) display = 0;
  SDL_Rect area{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(display, &area) != 0 || area.w <= 0 || area.h <= 0) {
    if (SDL_GetDisplayBounds(display, &area) != 0) area = SDL_Rect{0, 0, 0, 0};
  }
  return area;
}

// Drawable pixels per window unit: 1, except where the window system counts in points and
// the display has more pixels than points (a high-density screen on Wayland).
int PixelRatio(SDL_Window* window) {
  int points = 0, pixels = 0;
  SDL_GetWindowSize(window, &points, nullptr);
  SDL_GL_GetDrawableSize(window, &pixels, nullptr);
  return points > 0 && pixels > points ? pixels / points : 1;
}

struct Borders {
  int top = 0, left = 0, bottom = 0, right = 0;
};

Borders WindowBorders(SDL_Window* window) {
  Borders b;
  if (SDL_GetWindowBordersSize(window, &b.top, &b.left, &b.bottom, &b.right) != 0) b = Borders{};
  return b;
}

// The largest whole scale not above `wanted` (0: any up to the largest there is) at which the
// window, frame included, still fits the work area. Sizes in window units.
int FittingScale(int wanted, int width, int height, int pixelRatio, const Borders& borders,
                 const SDL_Rect& area) {
  int scale = wanted > 0 ? wanted : kLargestWindowScale;
  if (area.w <= 0 || area.h <= 0) return wanted > 0 ? wanted : 1;
  while (scale > 1 && (width * scale / pixelRatio + borders.left + borders.right > area.w ||
                       height * scale / pixelRatio + borders.top + borders.bottom > area.h))
    --scale;
  return scale;
}

struct ClientSize {
  int width = 0, height = 0;
};

// The window's client size in window units. A wanted scale: that whole multiple of the
// picture, cut down to fit. 0: the picture's layout in the room the work area leaves, as in
// full screen: the largest whole multiple where that fills most of it, else as large as fits
// (about 1.4 x on a 1366 x 768 screen, where only 1 x is whole), never below 1 x.
ClientSize WindowedSize(int wanted, int width, int height, int pixelRatio, const Borders& borders,
                        const SDL_Rect& area) {
  const int roomWidth = (area.w - borders.left - borders.right) * pixelRatio;
  const int roomHeight = (area.h - borders.top - borders.bottom) * pixelRatio;
  const Letterbox box = LayOutPicture(width, height, roomWidth, roomHeight);
  if (wanted > 0 || box.width < width || box.height < height ||
      (box.wholeScale && box.width / width > kLargestWindowScale)) {
    const int scale = FittingScale(wanted, width, height, pixelRatio, borders, area);
    return {width * scale / pixelRatio, height * scale / pixelRatio};
  }
  return {box.width / pixelRatio, box.height / pixelRatio};
}

// The whole scale the window shows the picture at now: the drawable's size in pictures.
int WholeScaleNow(const WindowState& state) {
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(state.window.get(), &w, &h);
  return std::max(1, std::min(w / state.logicalWidth, h / state.logicalHeight));
}

// A window the player has resized keeps the whole scale it now shows: placing it again, and
// the next run (through the preferences), start from there.
void NotePlayerResize(WindowState& state) {
  if (!state.window || state.fullscreen || state.placedScale == 0) return;
  const int now = WholeScaleNow(state);
  if (now == state.placedScale) return;
  state.playerScale = now;
  state.scale = now;
  state.placedScale = now;
}

// Client size w x h, the outer frame's top-left corner at the centre position of the work area,
// moved back where the frame would reach past the work area's right or bottom edge (a window
// as large as fits).
void PlaceWindowed(SDL_Window* window, int width, int height) {
  const SDL_Rect area = WorkArea(window);
  const Borders b = WindowBorders(window);
  SDL_SetWindowSize(window, width, height);
  const int x = area.x + b.left +
                std::max(0, std::min((area.w - width) / 2, area.w - width - b.left - b.right));
  const int y = area.y + b.top +
                std::max(0, std::min((area.h - height) / 2, area.h - height - b.top - b.bottom));
  SDL_SetWindowPosition(window, x, y);
}

// Lets the window system's answers to earlier size and position changes arrive and be
// taken in before the next change. Without this, a late answer to a windowed resize can land
// after a switch to full screen and shrink SDL's idea of the window back (seen without a
// window manager). The pointer query is a round trip: every event the server sent before
// it has arrived when it returns.
void SettleWindow() {
  SDL_GetGlobalMouseState(nullptr, nullptr);
  SDL_PumpEvents();
}

// Runs as SDL queues each event, inside the pump: notes what asks for the picture again.
int WatchWindowEvents(void*, SDL_Event* event) {
  if (event->type != SDL_WINDOWEVENT) return 0;
  switch (event->window.event) {
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_MAXIMIZED:
      State().repaintWanted = true;
      break;
    default:
      break;
  }
  return 0;
}

bool OpenRealWindow(const WindowConfig& config, bool multisample, bool onSurface) {
  WindowState& state = State();
  SetContextAttributes(multisample);
  // High-density aware: where the window system counts in points, the drawable still gets one
  // pixel per screen pixel, so a whole scale stays crisp.
  const Uint32 flags = (onSurface ? 0 : SDL_WINDOW_OPENGL) | SDL_WINDOW_HIDDEN |
                       SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  const std::string title = config.title.empty() ? "Zorbel" : config.title;
  WindowHandle window(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED,
                                       SDL_WINDOWPOS_CENTERED, config.width, config.height, flags));
  if (!window) {
    state.error = SDL_GetError();
    return false;
  }
  if (onSurface) {
    if (!OpenWindowSurface(window.get())) return false;
    state.window = std::move(window);
    state.onSurface = true;
    return true;
  }
  ContextHandle context(SDL_GL_CreateContext(window.get()));
  if (!context) {
    state.error = SDL_GetError();
    return false;
  }
  if (SDL_GL_MakeCurrent(window.get(), context.get()) != 0) {
    // A context that will not become current is useless; a fresh one usually does.
    context.reset(SDL_GL_CreateContext(window.get()));
    if (!context || SDL_GL_MakeCurrent(window.get(), context.get()) != 0) {
      state.error = SDL_GetError();
      return false;
    }
  }
  // The frame loop paces itself; a swap that waits for the display would fight it.
  SDL_GL_SetSwapInterval(0);
  state.context = std::move(context);
  state.window = std::move(window);
  return true;
}

}  // namespace

bool OpenWindow(const WindowConfig& config) {
  WindowState& state = State();
  CloseWindow();
  state.logicalWidth = std::max(1, config.width);
  state.logicalHeight = std::max(1, config.height);
  state.scale = std::max(0, config.scale);
  state.placedScale = 0;
  state.playerScale = 0;
  state.fullscreen = false;
  state.error.clear();
  if (IsHeadless()) {
    state.headlessOpen = true;
    state.fullscreen = config.fullscreen;
    return true;
  }
  // The driver is asked before this process talks to the display (the probe's child must not
  // share its connection).
  const bool wantSurface =
      config.drawing == WindowDrawing::kSurface ||
      (config.drawing == WindowDrawing::kAutomatic && IsSoftwareRenderer(ProbeGlRendererName()));
  if (!InitSdlVideo(&state.error)) return false;
  WindowConfig sized = config;
  sized.width = state.logicalWidth;
  sized.height = state.logicalHeight;
  bool opened = wantSurface && OpenRealWindow(sized, false, true);
  if (!opened) opened = OpenRealWindow(sized, config.multisample, false);
  if (!opened && config.multisample) opened = OpenRealWindow(sized, false, false);
  if (!opened) return false;

  if (state.context) {
    glClearColor(0.f, 0.f, 0.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  SDL_AddEventWatch(&WatchWindowEvents, nullptr);
  SDL_ShowWindow(state.window.get());
  SetWindowMode(state.logicalWidth, state.logicalHeight, config.fullscreen);
  SDL_RaiseWindow(state.window.get());
  return true;
}

bool SetWindowMode(int width, int height, bool fullscreen) {
  WindowState& state = State();
  if (width > 0) state.logicalWidth = width;
  if (height > 0) state.logicalHeight = height;
  if (IsHeadless() || !state.window) {
    state.fullscreen = fullscreen;
    return true;
  }
  SDL_Window* window = state.window.get();
  SettleWindow();
  NotePlayerResize(state);
  if (fullscreen) {
    // Without a window manager (no frame) nobody carries out the full-screen request: the
    // window would keep its size while SDL counts it at the screen's, and the picture, laid
    // out for the screen, would be cut off. The window takes the screen's place itself first.
    const Borders borders = WindowBorders(window);
    SDL_Rect bounds{0, 0, 0, 0};
    if (borders.top + borders.left + borders.bottom + borders.right == 0 &&
        SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &bounds) == 0 &&
        (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) == 0) {
      SDL_SetWindowPosition(window, bounds.x, bounds.y);
      SDL_SetWindowSize(window, bounds.w, bounds.h);
      SettleWindow();
    }
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) {
      state.fullscreen = true;
      SDL_RaiseWindow(window);
      return true;
    }
    state.error = SDL_GetError();
  }
  if (state.fullscreen || (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0) {
    SDL_SetWindowFullscreen(window, 0);
  }
  state.fullscreen = false;
  const int ratio = PixelRatio(window);
  const ClientSize size = WindowedSize(state.scale, state.logicalWidth, state.logicalHeight, ratio,
                                       WindowBorders(window), WorkArea(window));
  state.placedScale = std::max(1, std::min(size.width * ratio / state.logicalWidth,
                                           size.height * ratio / state.logicalHeight));
  PlaceWindowed(window, size.width, size.height);
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);
  SettleWindow();
  return !fullscreen;
}

int PlayerWindowScale() {
  WindowState& state = State();
  NotePlayerResize(state);
  return state.playerScale;
}

void SetWindowIcon(const uint8_t* rgba, int width, int height) {
  WindowState& state = State();
  if (!state.window || !rgba || width <= 0 || height <= 0) return;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(rgba), width, height,
                                                         32, width * 4, SDL_PIXELFORMAT_RGBA32);
  if (!icon) return;
  SDL_SetWindowIcon(state.window.get(), icon);  // SDL keeps its own copy
  SDL_FreeSurface(icon);
}

void SetWindowTitle(std::string_view title) {
  WindowState& state = State();
  if (!state.window) return;
  const std::string text(title);
  SDL_SetWindowTitle(state.window.get(), text.c_str());
}

void SwapWindow() {
  WindowState& state = State();
  if (!state.window) return;
  if (state.onSurface) {
    SDL_UpdateWindowSurface(state.window.get());
  } else {
    SDL_GL_SwapWindow(state.window.get());
  }
}

bool SwapWaitsForDisplay() {
  return false;
}

void DrawableSize(int* width, int* height) {
  WindowState& state = State();
  int w = state.logicalWidth, h = state.logicalHeight;
  if (state.window) SDL_GL_GetDrawableSize(state.window.get(), &w, &h);
  if (width) *width = w;
  if (height) *height = h;
}

bool WindowIsShown() {
  const WindowState& state = State();
  if (!state.window) return true;
  return (SDL_GetWindowFlags(state.window.get()) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

void SetRepaintHandler(void (*handler)()) {
  State().repaintHandler = handler;
}

void ServeRepaintRequest() {
  WindowState& state = State();
  if (!state.window || !state.repaintHandler || !state.repaintWanted.exchange(false)) return;
  state.repaintHandler();
}

bool WindowIsOpen() {
  const WindowState& state = State();
  return state.window != nullptr || state.headlessOpen;
}

void CloseWindow() {
  WindowState& state = State();
  if (state.window) SDL_DelEventWatch(&WatchWindowEvents, nullptr);
  if (state.context) SDL_GL_MakeCurrent(state.window.get(), nullptr);
  state.context.reset();
  state.window.reset();
  state.headlessOpen = false;
  state.onSurface = false;
}

void LogicalSize(int* width, int* height) {
  const WindowState& state = State();
  if (width) *width = state.logicalWidth;
  if (height) *height = state.logicalHeight;
}

void WindowClientSize(int* width, int* height) {
  WindowState& state = State();
  int w = 0, h = 0;
  if (state.window) SDL_GetWindowSize(state.window.get(), &w, &h);
  if (width) *width = w;
  if (height) *height = h;
}

void WindowPosition(int* x, int* y) {
  WindowState& state = State();
  int px = 0, py = 0;
  if (state.window) SDL_GetWindowPosition(state.window.get(), &px, &py);
  if (x) *x = px;
  if (y) *y = py;
}

bool WindowIsFullscreen() {
  return State().fullscreen;
}

std::string GlRendererName() {
  if (State().onSurface) return ProbeGlRendererName();
  if (!State().context) return {};
  const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  return name ? name : "";
}

SDL_Window* CurrentSdlWindow() {
  return State().window.get();
}

bool WindowDrawsOnSurface() {
  return State().onSurface;
}

std::string WindowError() {
  return State().error;
}

}  // namespace zrb::platform
