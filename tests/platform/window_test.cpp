// The real window under the test display: size, placement, mode switches, the GL context.
#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/platform/clock.h"
#include "engine/platform/window.h"

namespace zrb::platform {
namespace {

// X applies size changes asynchronously; give the server a moment to settle.
// Returns as soon as the size is there; a loaded machine may need seconds to switch modes.
void WaitForClientSize(int width, int height) {
  for (int i = 0; i < 500; ++i) {
    SDL_PumpEvents();
    int w = 0, h = 0;
    WindowClientSize(&w, &h);
    if (w == width && h == height) return;
    SDL_Delay(10);
  }
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run the tests under xvfb-run)";
    SetHeadless(false);
  }
  void TearDown() override { CloseWindow(); }
};

TEST_F(WindowTest, FullScreenAndBackKeepsTheContextAndItsTextures) {
  ASSERT_TRUE(OpenWindow(WindowConfig{})) << WindowError();
  SDL_GLContext before = SDL_GL_GetCurrentContext();
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  const unsigned char pixel[4] = {1, 2, 3, 4};
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);

  ASSERT_TRUE(SetWindowMode(640, 480, true));
  EXPECT_TRUE(WindowIsFullscreen());
  SDL_Rect bounds;
  ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
  WaitForClientSize(bounds.w, bounds.h);
  int w = 0, h = 0;
  WindowClientSize(&w, &h);
  EXPECT_EQ(w, bounds.w);
  EXPECT_EQ(h, bounds.h);

  ASSERT_TRUE(SetWindowMode(640, 480, false));
  EXPECT_FALSE(WindowIsFullscreen());
  WaitForClientSize(640, 480);
  WindowClientSize(&w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);

  EXPECT_EQ(SDL_GL_GetCurrentContext(), before);
  EXPECT_TRUE(glIsTexture(texture));
  unsigned char back[4] = {0, 0, 0, 0};
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, back);
  EXPECT_EQ(back[2], 3);
  glDeleteTextures(1, &texture);
}

}  // namespace
}  // namespace zrb::platform
