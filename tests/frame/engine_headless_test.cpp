// The application frame in a headless run: start-up and shutdown, the frame grid on the
// virtual clock, the ways the program ends, pause, and the trace.
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

TEST_F(HeadlessEngine, TheLogHoldsStartAndShutdownInOrderAndAnOldLogIsGone) {
  WriteFile("ErrorLog.txt", "left over from the last run\r\n");
  Start();
  EngineShutdown();
  const std::string log = Log();
  EXPECT_EQ(log.find("left over"), std::string::npos);
  const size_t initGfx = Find(log, "Init GFX\r\n");
  const size_t finalized = Find(log, "Init Finalized\r\n");
  const size_t shutDown = Find(log, "Shut down ZRB\r\n");
  const size_t done = Find(log, "zrb is shut down\r\n");
  EXPECT_EQ(initGfx, 0u);
  EXPECT_LT(initGfx, finalized);
  EXPECT_LT(finalized, shutDown);
  EXPECT_LT(shutDown, done);
  EXPECT_EQ(done + std::string("zrb is shut down\r\n").size(), log.size());
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

TEST_F(HeadlessEngine, FramesAreReleasedOnTheGrid) {
  Start();
  // Start-up presented frame 1 at 0 ms.
  EXPECT_EQ(frame::CurrentFrameStats().framesPresented, 1);
  for (int i = 1; i <= 5; ++i) {
    ShowScreen();
    EXPECT_NEAR(platform::NowMs(), i * kPeriod, 1e-9);
    const frame::FrameStats stats = frame::CurrentFrameStats();
    EXPECT_EQ(stats.framesPresented, i + 1);
    EXPECT_EQ(stats.lastReleaseMs, stats.lastDeadlineMs);
  }
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

TEST_F(HeadlessEngine, SleepMsMovesTheVirtualClock) {
  Start();
  const double before = platform::NowMs();
  SleepMs(250);
  EXPECT_DOUBLE_EQ(platform::NowMs() - before, 250.0);
  SleepMs(-5);
  SleepMs(0);
  EXPECT_DOUBLE_EQ(platform::NowMs() - before, 250.0);
}

TEST_F(HeadlessEngine, EscapeEndsTheProgramUnlessTurnedOff) {
  Start("100 key Escape down\n150 key Escape up\n300 key LAlt down\n310 key F4 down");
  EXPECT_EXIT(for (;;) ShowScreen(), ExitedWithCode(0), "");
  AllowEscape(0);
  while (platform::NowMs() < 250)
    ShowScreen();  // Escape came and went: still running
  // Alt+F4 ends the program whatever the game has turned off.
  EXPECT_EXIT(for (;;) ShowScreen(), ExitedWithCode(0), "");
}

TEST_F(HeadlessEngine, ACloseRequestEndsTheProgramAtTheNextFrame) {
  Start("1000 close", true);
  EXPECT_EXIT(for (;;) ShowScreen(), ExitedWithCode(0), "");
  const std::vector<std::string> lines = TraceLines();
  ASSERT_FALSE(lines.empty());
  // No frame was released after the request: the last one came at the latest at 1000 ms.
  const std::string& last = lines.back();
  const size_t ms = last.find("\"ms\":");
  ASSERT_NE(ms, std::string::npos);
  const double lastMs = std::stod(last.substr(ms + 5));
  EXPECT_LE(lastMs, 1000.0);
  EXPECT_GT(lastMs, 1000.0 - kPeriod);
  EXPECT_NE(Log().find("zrb is shut down"), std::string::npos);
}

TEST_F(HeadlessEngine, MaxFramesEndsTheProgramAfterThatManyFrames) {
  options_.maxFrames = 10;
  Start("", true);
  EXPECT_EXIT(for (;;) ShowScreen(), ExitedWithCode(0), "");
  const std::vector<std::string> lines = TraceLines();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines.back().rfind("{\"frame\":10,\"ms\":150.000,", 0), 0u) << lines.back();
}

TEST_F(HeadlessEngine, TheTraceCarriesTheGameFieldsBetweenTheEngineFields) {
  program_.traceFrame = [](TraceWriter& trace) {
    trace.String("screen", "test");
    trace.BeginObject("left open");  // a game that forgets to close its object
    trace.Int("x", 1);
  };
  Start("", true);
  ShowScreen();
  EngineShutdown();
  const std::vector<std::string> lines = TraceLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0],
            "{\"frame\":1,\"ms\":0.000,\"screen\":\"test\",\"left open\":{\"x\":1},"
            "\"sounds\":[],\"music\":[]}");
  EXPECT_EQ(lines[1].rfind("{\"frame\":2,\"ms\":16.667,", 0), 0u);
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

TEST_F(HeadlessEngine, APauseNoScriptCanEndEndsTheRun) {
  Start("10 focus lost\n");
  EXPECT_EXIT(for (;;) ShowScreen(), ExitedWithCode(0), "paused and its script has no input left");
}

TEST_F(HeadlessEngine, AKeyWaitNoScriptCanAnswerEndsTheRun) {
  Start();
  EXPECT_EXIT(for (;;) KeyState(57), ExitedWithCode(0),
              "waiting for input and its script has none left");
}

TEST_F(HeadlessEngine, SetScreenPresentsFiveFramesAndKeepsTheSettings) {
  Start();
  const long before = frame::CurrentFrameStats().framesPresented;
  SetScreen(640, 480, 1);
  EXPECT_EQ(frame::CurrentFrameStats().framesPresented, before + 5);
  EXPECT_TRUE(CurrentProjectSettings().fullScreen);
  SetScreen(0, 0, 0);
  EXPECT_FALSE(CurrentProjectSettings().fullScreen);
  EXPECT_EQ(CurrentProjectSettings().width, 640);
  EXPECT_EQ(CurrentProjectSettings().height, 480);
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

TEST_F(HeadlessEngine, ARuntimeErrorEndsTheProgramNonZeroWithItsText) {
  program_.gameMain = &FatalGame;
  const std::string dirOption = "--dir=" + dir_;
  const char* argv[] = {"enginetest", "--headless", dirOption.c_str(), nullptr};
  EXPECT_EXIT(EngineMain(3, const_cast<char**>(argv), program_),
              ExitedWithCode(kRuntimeErrorExitStatus), "0009 out of bounds");
  const std::string log = Log();
  EXPECT_LT(Find(log, "Runtime error 0009 out of bounds\r\n"), Find(log, "zrb is shut down"));
  EXPECT_EQ(log.find("-End On Line"), std::string::npos);

  // In debug mode the record goes to the log as well.
  program_.projectSettings = &DebugSettings;
  EXPECT_EXIT(EngineMain(3, const_cast<char**>(argv), program_),
              ExitedWithCode(kRuntimeErrorExitStatus), "0009 out of bounds");
  EXPECT_NE(Log().find("-End On Line\r\n9\r\n41\r\n42\r\n2\r\nShut down ZRB"), std::string::npos)
      << Log();
}

int ReturningGame() {
  ShowScreen();
  return 0;
}

TEST_F(HeadlessEngine, ReturningFromTheGameEndsTheProgramLikeEndProgram) {
  program_.gameMain = &ReturningGame;
  const std::string dirOption = "--dir=" + dir_;
  const char* argv[] = {"enginetest", "--headless", dirOption.c_str(), nullptr};
  EXPECT_EXIT(EngineMain(3, const_cast<char**>(argv), program_), ExitedWithCode(0), "");
  EXPECT_NE(Log().find("Shut down ZRB\r\nzrb is shut down\r\n"), std::string::npos);
}

TEST_F(HeadlessEngine, BadCommandLinesExitWithAClearMessage) {
  const char* unknown[] = {"enginetest", "--bogus", nullptr};
  EXPECT_EXIT(EngineMain(2, const_cast<char**>(unknown), program_),
              ExitedWithCode(kUsageErrorExitStatus), "unknown option '--bogus'");
  const char* noDir[] = {"enginetest", "--headless", "--dir", "/nonexistent/x", nullptr};
  EXPECT_EXIT(EngineMain(4, const_cast<char**>(noDir), program_),
              ExitedWithCode(kUsageErrorExitStatus), "/nonexistent/x: no such directory");
  WriteFile("bad.txt", "# fine\n10 key Space sideways\n");
  const std::string script = dir_ + "/bad.txt";
  const char* badScript[] = {"enginetest", "--headless", "--script", script.c_str(), nullptr};
  EXPECT_EXIT(EngineMain(4, const_cast<char**>(badScript), program_),
              ExitedWithCode(kUsageErrorExitStatus), "bad.txt:2: expected 'down' or 'up'");
}

}  // namespace
}  // namespace zrb
