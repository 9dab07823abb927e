// A program players install, in a real window on the test display: the window opens as large
// as fits, and the scale the player resizes it to is kept for the next run.
#include <SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/frame/engine_main.h"
#include "engine/frame/run_setup.h"
#include "engine/frame/show_screen.h"
#include "engine/platform/window.h"

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

// The engine in this process, in a real window, with a scratch folder for its log and files.
class DesktopWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run the tests under xvfb-run)";
    char pattern[] = "/tmp/desktopwindowXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    ::setenv("TMPDIR", dir_.c_str(), 1);
    options_.workingDirectory = dir_;
    program_.name = "enginetest";
    program_.install = &kLayout;
  }
  void TearDown() override {
    EngineShutdown();
    std::error_code error;
    std::filesystem::remove_all(dir_, error);
  }
  void Start() {
    SDL_SetEventFilter(&DropFocusEvents, nullptr);
    std::string error;
    ASSERT_TRUE(frame::PrepareRun(&options_, &error)) << error;
    ASSERT_TRUE(EngineInit(settings_, options_, program_));
    SDL_SetEventFilter(&DropFocusEvents, nullptr);
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::pair<int, int> ClientSize() {
    int w = 0, h = 0;
    platform::WindowClientSize(&w, &h);
    return {w, h};
  }

  std::string dir_;
  CommandLineOptions options_;
  ProjectSettings settings_;
  GameProgram program_;
};

TEST_F(DesktopWindow, OpensAsLargeAsFitsAndKeepsTheScaleThePlayerResizedItTo) {
  Start();
  // The test display has no window manager: no frame, the whole screen to use.
  SDL_Rect area{};
  ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &area), 0);
  const int fits = std::min({area.w / 640, area.h / 480, platform::kLargestWindowScale});
  ASSERT_GE(fits, 2) << "the test display is too small for a window at scale 2";
  EXPECT_EQ(ClientSize(), std::make_pair(640 * fits, 480 * fits));
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

}  // namespace
}  // namespace zrb
