// A program players install, in a real window on the test display (1280 x 1024): the window
// opens as large as fits, the scale the player resizes it to is kept for the next run, and
// Alt+Enter switches the display mode without ever being an Enter.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/frame/engine_main.h"
#include "engine/frame/show_screen.h"
#include "engine/input/input.h"
#include "engine/platform/window.h"
#include "engine_fixture.h"

namespace zrb {
namespace {

// Never found, so the program runs as from its build tree: everything stays in the test's
// working folder.
const platform::InstallLayout kLayout = {"no-such-data.sbx", "../share/enginetest",
                                         "/nonexistent/share/enginetest", "enginetest",
                                         "Enginetest"};

// Focus changes the window system reports (windows of earlier tests going away) would pause
// the engine; these tests are about sizes and keys only.
int DropFocusEvents(void*, SDL_Event* event) {
  if (event->type != SDL_WINDOWEVENT) return 1;
  const Uint8 what = event->window.event;
  return what != SDL_WINDOWEVENT_FOCUS_LOST && what != SDL_WINDOWEVENT_FOCUS_GAINED;
}

class DesktopWindow : public zrb::testing::EngineFixture {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run the tests under xvfb-run)";
    EngineFixture::SetUp();
    options_.headless = false;
    program_.install = &kLayout;
  }
  void Start() {
    SDL_SetEventFilter(&DropFocusEvents, nullptr);
    EngineFixture::Start();
    SDL_SetEventFilter(&DropFocusEvents, nullptr);
  }
  static std::pair<int, int> ClientSize() {
    int w = 0, h = 0;
    platform::WindowClientSize(&w, &h);
    return {w, h};
  }
  static void PushKey(SDL_Scancode scancode, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    SDL_PushEvent(&event);
  }
};

TEST_F(DesktopWindow, OpensAsLargeAsFitsAndKeepsTheScaleThePlayerResizedItTo) {
  Start();
  EXPECT_EQ(ClientSize(), std::make_pair(1280, 960));
  // The player drags the window smaller; the picture's whole scale there is 1.
  SDL_SetWindowSize(SDL_GL_GetCurrentWindow(), 900, 700);
  ShowScreen();
  EngineShutdown();
  EXPECT_EQ(ReadFile(dir_ + "/preferences.txt"), "window-scale 1\n");

  Start();
  EXPECT_EQ(ClientSize(), std::make_pair(640, 480));
  EngineShutdown();

  // --scale holds for its run only: nothing is stored without a resize.
  options_.scale = 2;
  Start();
  EXPECT_EQ(ClientSize(), std::make_pair(1280, 960));
  EngineShutdown();
  EXPECT_EQ(ReadFile(dir_ + "/preferences.txt"), "window-scale 1\n");
}

TEST_F(DesktopWindow, AltEnterSwitchesTheDisplayModeAndIsNeverAnEnter) {
  Start();
  ASSERT_FALSE(platform::WindowIsFullscreen());
  for (const SDL_Scancode enter : {SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER}) {
    SCOPED_TRACE(enter);
    const bool wasFull = platform::WindowIsFullscreen();
    PushKey(SDL_SCANCODE_LALT, true);
    PushKey(enter, true);
    PushKey(enter, true);  // the key repeating: still one switch
    ShowScreen();
    EXPECT_EQ(platform::WindowIsFullscreen(), !wasFull);
    EXPECT_EQ(KeyState(28) + KeyState(156), 0);
    PushKey(SDL_SCANCODE_LALT, false);  // Alt let go first: the Enter still held is not one
    ShowScreen();
    EXPECT_EQ(KeyState(28) + KeyState(156), 0);
    PushKey(enter, false);
    ShowScreen();
  }
  EXPECT_FALSE(platform::WindowIsFullscreen());
  // Enter alone is an Enter.
  PushKey(SDL_SCANCODE_RETURN, true);
  ShowScreen();
  EXPECT_EQ(KeyState(28), 1);
  EXPECT_FALSE(platform::WindowIsFullscreen());
}

}  // namespace
}  // namespace zrb
