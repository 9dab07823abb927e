// The application frame in a headless run, for what the probe runs (tests/scenarios) and the
// recorded games do not show: shutting down twice, the working folder and default font, the
// seed, late frames on the virtual clock, pause and its callbacks, calls by name.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "engine/frame/engine_main.h"
#include "engine/frame/frame_stats.h"
#include "engine/frame/random_seed.h"
#include "engine/frame/screen.h"
#include "engine/frame/show_screen.h"
#include "engine/input/input.h"
#include "engine/platform/clock.h"
#include "engine/values/random.h"
#include "engine/values/runtime_error.h"
#include "engine_fixture.h"

namespace zrb {
namespace {

using ::testing::ExitedWithCode;
using HeadlessEngine = zrb::testing::EngineFixture;

constexpr double kPeriod = 1000.0 / 60.0;

int g_quitCalls = 0;
int g_pauseCalls = 0;
int g_resumeCalls = 0;
int g_messageCalls = 0;
void CountQuit() {
  ++g_quitCalls;
}
void CountPause() {
  ++g_pauseCalls;
}
void CountResume() {
  ++g_resumeCalls;
}
void CountMessage() {
  ++g_messageCalls;
}
const FunctionNameEntry kCallbacks[] = {{&CountQuit, "ZRB_ON_QUIT"},
                                        {&CountPause, "ZRB_ON_PAUSE"},
                                        {&CountResume, "ZRB_ON_RESUME"},
                                        {&CountMessage, "ZRB_WIN32_MSG"},
                                        {nullptr, nullptr}};

void ResetCounts() {
  g_quitCalls = g_pauseCalls = g_resumeCalls = g_messageCalls = 0;
}

size_t Find(const std::string& text, const std::string& what) {
  const size_t at = text.find(what);
  EXPECT_NE(at, std::string::npos) << "missing: " << what << "\nin:\n" << text;
  return at;
}

TEST_F(HeadlessEngine, ShutdownTwiceRunsTheQuitCallbackOnceAndReleasesNothingTwice) {
  ResetCounts();
  program_.functionNames = kCallbacks;
  Start();
  EngineShutdown();
  EngineShutdown();
  EXPECT_EQ(g_quitCalls, 1);
  const std::string log = Log();
  const size_t first = Find(log, "Shut down ZRB");
  EXPECT_EQ(log.find("Shut down ZRB", first + 1), std::string::npos);
  EXPECT_EQ(log.find("zrb is shut down", Find(log, "zrb is shut down") + 1), std::string::npos);
}

TEST_F(HeadlessEngine, StartUpEntersTheWorkingDirectoryAndFindsTheDefaultFont) {
  Start();
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir_));
  EXPECT_STREQ(frame::DefaultFontName(), "");
  EXPECT_EQ(frame::SelectedFont(), 0);
  EngineShutdown();

  WriteFile("smalfont.bmp", "BM");
  Start();
  EXPECT_STREQ(frame::DefaultFontName(), "smalfont.bmp");
  EngineShutdown();

  WriteFile("smalfont.png", "png");
  Start();
  EXPECT_STREQ(frame::DefaultFontName(), "smalfont.png");
  EXPECT_EQ(frame::SelectedFont(), 0);
}

TEST_F(HeadlessEngine, TheSeedComesFromTheOptionOrFromTheClock) {
  SeedRandom(1234);
  const int32_t expected[3] = {Random(1000000), Random(1000000), Random(1000000)};
  SeedRandom(99);
  options_.seed = 1234;
  Start();
  EXPECT_EQ(frame::LastEngineSeed(), 1234u);
  // The generator the game draws from was seeded with it.
  EXPECT_EQ(Random(1000000), expected[0]);
  EXPECT_EQ(Random(1000000), expected[1]);
  EXPECT_EQ(Random(1000000), expected[2]);
  EngineShutdown();
  options_.seed.reset();
  Start();
  EXPECT_EQ(frame::LastEngineSeed(), 0u);  // the virtual clock reads 0 during start-up
}

TEST_F(HeadlessEngine, LateFramesFollowTheGridRule) {
  Start();
  ShowScreen();
  const double release = platform::NowMs();
  struct Case {
    int workMs;
    double nextReleaseAfter;
  } cases[] = {{25, 2 * kPeriod}, {40, 3 * kPeriod}, {60, 60 + kPeriod}};
  double base = release;
  for (const Case& c : cases) {
    SleepMs(c.workMs);  // the frame takes this long to draw
    ShowScreen();       // late: released at once
    EXPECT_NEAR(platform::NowMs(), base + c.workMs, 1e-9) << c.workMs;
    ShowScreen();  // the frame after it waits for the deadline the rule gave
    EXPECT_NEAR(platform::NowMs(), base + c.nextReleaseAfter, 1e-9) << c.workMs;
    base = platform::NowMs();
  }
}

TEST_F(HeadlessEngine, AFrameRateOfZeroGivesTwoMillisecondFrames) {
  settings_.frameRate = 0;
  Start();
  ShowScreen();
  const double first = platform::NowMs();
  ShowScreen();
  EXPECT_DOUBLE_EQ(platform::NowMs() - first, 2.0);
}

TEST_F(HeadlessEngine, LosingTheFocusPausesUntilItComesBack) {
  ResetCounts();
  program_.functionNames = kCallbacks;
  Start("40 focus lost\n40 focus lost\n1000 focus gained\n");
  ::testing::internal::CaptureStdout();
  ShowScreen();
  ShowScreen();
  ShowScreen();  // the focus went at 40 ms, during this frame's wait
  EXPECT_EQ(g_pauseCalls, 1);
  ShowScreen();  // held here until the focus came back
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "pause loop in showscreen\npause ended\n");
  EXPECT_EQ(g_resumeCalls, 1);
  EXPECT_GE(platform::NowMs(), 1000.0);
  // The message callback ran before each event the pump took.
  EXPECT_EQ(g_messageCalls, 3);
}

TEST_F(HeadlessEngine, WithAutoPauseOffLosingTheFocusChangesNothing) {
  ResetCounts();
  program_.functionNames = kCallbacks;
  Start("10 focus lost\n");
  AutoPause(0);
  ::testing::internal::CaptureStdout();
  for (int i = 0; i < 5; ++i)
    ShowScreen();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(g_pauseCalls, 0);
}

TEST_F(HeadlessEngine, CallByNameFindsOnlyExactNames) {
  ResetCounts();
  program_.functionNames = kCallbacks;
  Start();
  EXPECT_EQ(CallByName("ZRB_ON_PAUSE"), 1.0);
  EXPECT_EQ(g_pauseCalls, 1);
  EXPECT_EQ(CallByName("zrb_on_pause"), 0.0);
  EXPECT_EQ(CallByName("ZRB_ON_PAUSE "), 0.0);
  EXPECT_EQ(CallByName(""), 0.0);
  EXPECT_EQ(g_pauseCalls, 1);
  program_.functionNames = nullptr;
  EngineShutdown();
  Start();
  EXPECT_EQ(CallByName("ZRB_ON_PAUSE"), 0.0);
}

int FatalGame() {
  ShowScreen();
  RuntimeError().currentLine = 42;
  FatalRuntimeError(kErrorOutOfBounds);
}

void DebugSettings(ProjectSettings& settings) {
  settings.debug = true;
}

// In debug mode a runtime error's record goes to the log before the program ends.
TEST_F(HeadlessEngine, ADebugRunLogsTheRuntimeErrorsRecord) {
  program_.gameMain = &FatalGame;
  program_.projectSettings = &DebugSettings;
  const std::string dirOption = "--dir=" + dir_;
  const char* argv[] = {"enginetest", "--headless", dirOption.c_str(), nullptr};
  EXPECT_EXIT(EngineMain(3, const_cast<char**>(argv), program_),
              ExitedWithCode(kRuntimeErrorExitStatus), "0009 out of bounds");
  EXPECT_NE(Log().find("-End On Line\r\n9\r\n41\r\n42\r\n2\r\nShut down ZRB"), std::string::npos)
      << Log();
}

}  // namespace
}  // namespace zrb
