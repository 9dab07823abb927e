// The application frame with a real window on the test display: the client area, the mode
// switch, the engine's own keys and the close box, and the pause title, with events going
// through SDL's queue as a window system would deliver them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "engine/frame/engine_main.h"
#include "engine/frame/show_screen.h"
#include "engine/input/input.h"
#include "engine/platform/window.h"
#include "engine_fixture.h"

namespace zrb {
namespace {

using ::testing::ExitedWithCode;

// Other tests open windows on the same display at the same time, and the focus moves between
// them. Focus changes of the window system are dropped here; the ones a test pushes itself
// carry this window id and pass.
constexpr Uint32 kTestWindowId = 0x7E57;

int KeepTestFocusEvents(void*, SDL_Event* event) {
  if (event->type != SDL_WINDOWEVENT) return 1;
  const Uint8 what = event->window.event;
  if (what != SDL_WINDOWEVENT_FOCUS_LOST && what != SDL_WINDOWEVENT_FOCUS_GAINED) return 1;
  return event->window.windowID == kTestWindowId ? 1 : 0;
}

class RealEngine : public zrb::testing::EngineFixture {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run the tests under xvfb-run)";
    // Death tests start the test afresh in a new process instead of forking one that holds
    // a connection to the display.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // A test that hangs ends instead of holding up the whole run.
    alarm(120);
    EngineFixture::SetUp();
    options_.headless = false;
  }
  void TearDown() override {
    EngineFixture::TearDown();
    alarm(0);
  }
  void Start() {
    SDL_SetEventFilter(&KeepTestFocusEvents, nullptr);
    EngineFixture::Start();
    SDL_SetEventFilter(&KeepTestFocusEvents, nullptr);
    SDL_FlushEvent(SDL_WINDOWEVENT);
  }
};

void PushKey(SDL_Scancode scancode, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = scancode;
  SDL_PushEvent(&event);
}

void PushWindowEvent(SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = id;
  event.window.windowID = kTestWindowId;
  SDL_PushEvent(&event);
}

std::string Title() {
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  return window ? SDL_GetWindowTitle(window) : "";
}

TEST_F(RealEngine, TheWindowShowsTheCaptionOverA640By480ClientArea) {
  Start();
  int w = 0, h = 0;
  platform::WindowClientSize(&w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  platform::DrawableSize(&w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  EXPECT_EQ(Title(), "Tundrel");
  EXPECT_NE(Log().find("Init Finalized"), std::string::npos);
}

TEST_F(RealEngine, EscapeIsIgnoredAfterAllowEscapeOffButAltF4EndsTheProgram) {
  EXPECT_EXIT(
      {
        Start();
        AllowEscape(0);
        PushKey(SDL_SCANCODE_ESCAPE, true);
        for (int i = 0; i < 3; ++i)
          ShowScreen();
        PushKey(SDL_SCANCODE_ESCAPE, false);
        ShowScreen();
        std::fprintf(stderr, "still running after Escape\n");
        PushKey(SDL_SCANCODE_LALT, true);
        PushKey(SDL_SCANCODE_F4, true);
        for (int i = 0; i < 3; ++i)
          ShowScreen();
        std::fprintf(stderr, "still running after Alt+F4\n");
        std::exit(7);
      },
      ExitedWithCode(0), "still running after Escape\n$");
}

TEST_F(RealEngine, TheCloseBoxEndsTheProgram) {
  EXPECT_EXIT(
      {
        Start();
        PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
        ShowScreen();
        std::exit(7);
      },
      ExitedWithCode(0), "");
}

TEST_F(RealEngine, LosingTheFocusMarksTheTitleAndGainingItRestoresIt) {
  Start();
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  SDL_Delay(2);  // polls take pending events at most once a millisecond
  KeyState(1);   // any poll takes the pending events
  EXPECT_EQ(Title(), "Tundrel <pause>");
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  SDL_Delay(2);
  KeyState(1);
  EXPECT_EQ(Title(), "Tundrel");

  AutoPause(0);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  SDL_Delay(2);
  KeyState(1);
  EXPECT_EQ(Title(), "Tundrel");
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  SDL_Delay(2);
  KeyState(1);
}

}  // namespace
}  // namespace zrb
