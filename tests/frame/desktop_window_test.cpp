// A program players install, in a real window on the test display: the window opens as large
// as fits, and the scale the player resizes it to is kept for the next run.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/frame/engine_main.h"
#include "engine/frame/run_setup.h"
#include "engine/frame/show_screen.h"
#include "engine/platform/clock.h"
#include "engine/platform/sdl_session.h"
#include "engine/platform/window.h"
#include "support/scratch_dir.h"

// Last: Xlib's macros (None, Bool) would clash with the test framework's names.
#include <GL/glx.h>

namespace zrb {
namespace {

// Focus changes the window system reports (windows of earlier tests going away) would pause
// the engine; this test is about sizes only.
int DropFocusEvents(void*, SDL_Event* event) {
  return event->type != SDL_WINDOWEVENT || (event->window.event != SDL_WINDOWEVENT_FOCUS_LOST &&
                                            event->window.event != SDL_WINDOWEVENT_FOCUS_GAINED);
}

// The engine in this process in a real window with its log and files in a scratch folder, and
// the window's client size and the stored preferences after it has shut down again.
// `fits`: the largest whole scale the display has room for.
std::string RunEngine(const testing::ScratchDir& scratch, const std::string& renderer, int scale,
                      int resizeTo = 0, int* fits = nullptr) {
  // No data file anywhere, so the program runs as from its build tree: its files stay in the
  // working folder.
  static const platform::InstallLayout layout = {"no-such-data.sbx", nullptr, nullptr, "t", "T"};
  CommandLineOptions options;
  options.workingDirectory = scratch.Root().string();
  options.scale = scale;
  options.renderer = renderer;
  GameProgram program;
  program.install = &layout;
  SDL_SetEventFilter(&DropFocusEvents, nullptr);
  std::string error;
  if (!frame::PrepareRun(&options, &error) || !EngineInit(ProjectSettings{}, options, program))
    return "cannot start: " + error;
  SDL_SetEventFilter(&DropFocusEvents, nullptr);
  int w = 0, h = 0;
  platform::WindowClientSize(&w, &h);
  SDL_Rect area{};  // the test display has no window manager: no frame, the whole screen to use
  SDL_GetDisplayUsableBounds(0, &area);
  if (fits) *fits = std::min({area.w / 640, area.h / 480, platform::kLargestWindowScale});
  if (resizeTo) {
    SDL_SetWindowSize(platform::CurrentSdlWindow(), resizeTo, resizeTo * 3 / 4);
    ShowScreen();
  }
  EngineShutdown();
  std::ostringstream preferences;
  preferences << std::ifstream(scratch.Root() / "preferences.txt").rdbuf();
  return std::to_string(w) + "x" + std::to_string(h) + " " + preferences.str();
}

TEST(DesktopWindow, OpensAsLargeAsFitsAndKeepsTheScaleThePlayerResizedItTo) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run the tests under xvfb-run)";
  for (const std::string renderer : {"gl", "cpu"}) {  // a GL window, one drawn on its surface
    SCOPED_TRACE(renderer);
    testing::ScratchDir scratch;
    // The player drags the window smaller, to a size whose whole scale is 1.
    int fits = 0;
    const std::string first = RunEngine(scratch, renderer, 0, 900, &fits);
    ASSERT_GE(fits, 2) << "the test display is too small for a window at scale 2";
    EXPECT_EQ(first,
              std::to_string(640 * fits) + "x" + std::to_string(480 * fits) + " window-scale 1\n");
    EXPECT_EQ(RunEngine(scratch, renderer, 0), "640x480 window-scale 1\n");
    // --scale holds for its run only: nothing is stored without a resize.
    EXPECT_EQ(RunEngine(scratch, renderer, 2), "1280x960 window-scale 1\n");
  }
}

// The test display has no window manager, which carries out no full-screen request: the window
// itself must cover the screen, as the X server sees it (not only as SDL counts it), and go back.
TEST(DesktopWindow, FullScreenCoversTheScreenWithoutAWindowManagerAndGoesBack) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run the tests under xvfb-run)";
  platform::SetHeadless(false);
  ASSERT_TRUE(platform::OpenWindow(platform::WindowConfig{})) << platform::WindowError();
  const auto real = [] {
    unsigned w = 0, h = 0;
    glXQueryDrawable(glXGetCurrentDisplay(), glXGetCurrentDrawable(), GLX_WIDTH, &w);
    glXQueryDrawable(glXGetCurrentDisplay(), glXGetCurrentDrawable(), GLX_HEIGHT, &h);
    return std::to_string(w) + "x" + std::to_string(h);
  };
  SDL_Rect screen{};
  SDL_GetDisplayBounds(0, &screen);
  ASSERT_TRUE(platform::SetWindowMode(0, 0, true));
  int w = 0, h = 0;
  platform::DrawableSize(&w, &h);
  EXPECT_EQ(real(), std::to_string(screen.w) + "x" + std::to_string(screen.h));
  EXPECT_EQ(real(), std::to_string(w) + "x" + std::to_string(h));
  EXPECT_TRUE(platform::SetWindowMode(0, 0, false));
  EXPECT_EQ(real(), "640x480");
  platform::CloseWindow();
}

}  // namespace
}  // namespace zrb
