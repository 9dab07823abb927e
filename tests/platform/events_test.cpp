// The event pump on real SDL events: keys by position, close and focus, hot-plugged joypads
// (SDL's virtual joysticks go through the same path as a device on USB).
#include <SDL.h>
#include <gtest/gtest.h>

#include "engine/platform/clock.h"
#include "engine/platform/events.h"
#include "engine/platform/input_script.h"
#include "engine/platform/joypad.h"
#include "engine/platform/live_input.h"
#include "engine/platform/sdl_session.h"

namespace zrb::platform {
namespace {

int g_closeRequests = 0;
int g_activations = 0;
int g_deactivations = 0;
int g_beforeEach = 0;

void CountClose() {
  ++g_closeRequests;
}
void CountActivation(bool active) {
  ++(active ? g_activations : g_deactivations);
}
void CountBeforeEach() {
  ++g_beforeEach;
}

void PushKey(SDL_Scancode scancode, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = scancode;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void PushWindowEvent(SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = id;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

class EventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHeadless(false);
    ClearInputScript();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    ResetLiveInput();
    g_closeRequests = g_activations = g_deactivations = g_beforeEach = 0;
    SetWindowEventHandlers({&CountClose, &CountActivation});
  }
  void TearDown() override {
    CloseJoypads();
    SetWindowEventHandlers({});
    QuitSdl();
  }
};

TEST_F(EventsTest, KeyEventsSetTheKeyAtItsPositionAndCountPresses) {
  PushKey(SDL_SCANCODE_Y, true);
  PushKey(SDL_SCANCODE_LEFT, true);
  PumpEvents(&CountBeforeEach);
  EXPECT_EQ(g_beforeEach, 2);
  EXPECT_TRUE(Keyboard().down[21]);
  EXPECT_TRUE(Keyboard().down[203]);
  EXPECT_EQ(Keyboard().presses[21], 1u);

  // Auto-repeat of a held key is not a new press.
  PushKey(SDL_SCANCODE_Y, true);
  PushKey(SDL_SCANCODE_LEFT, false);
  PumpEvents();
  EXPECT_EQ(Keyboard().presses[21], 1u);
  EXPECT_FALSE(Keyboard().down[203]);

  // A key without a set-1 code changes nothing.
  PushKey(SDL_SCANCODE_AC_BACK, true);
  PushKey(SDL_SCANCODE_KBDILLUMUP, true);
  PumpEvents();
  int down = 0;
  for (bool d : Keyboard().down)
    down += d;
  EXPECT_EQ(down, 2);  // Y and the browser-back key (234)
}

TEST_F(EventsTest, CloseAndFocusReachTheHandlers) {
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  PumpEvents();
  EXPECT_EQ(g_closeRequests, 2);

  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);  // no change, no second call
  PumpEvents();
  EXPECT_FALSE(WindowIsActive());
  EXPECT_EQ(g_deactivations, 1);

  // Presses while in the background are not counted as presses for the game.
  PushKey(SDL_SCANCODE_SPACE, true);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  PumpEvents();
  EXPECT_TRUE(WindowIsActive());
  EXPECT_EQ(g_activations, 1);
  EXPECT_TRUE(Keyboard().down[57]);
  EXPECT_EQ(Keyboard().presses[57], 0u);
}

}  // namespace
}  // namespace zrb::platform
