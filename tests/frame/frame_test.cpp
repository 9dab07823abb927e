// The frame's own rules: the command line (every option, the bad ones, the command tail) and
// frame pacing in real mode (the grid of deadlines, and how the wait sleeps and spins).
#include <gtest/gtest.h>

#include <cmath>

#include "engine/frame/command_line.h"
#include "engine/frame/frame_pacing.h"
#include "engine/frame/trace_writer.h"

namespace zrb::frame {

namespace {

// The command line: every option, the bad ones, and the command tail.
CommandLineOptions Parse(std::vector<std::string> args) {
  CommandLineOptions options;
  std::string error;
  EXPECT_TRUE(ParseCommandLine(args, &options, &error)) << error;
  return options;
}

std::string ParseError(std::vector<std::string> args) {
  CommandLineOptions options;
  std::string error;
  EXPECT_FALSE(ParseCommandLine(args, &options, &error));
  return error;
}

TEST(CommandLine, EveryOptionInBothSpellings) {
  const CommandLineOptions options =
      Parse({"--headless", "--script", "in.txt", "--seed=4294967295", "--max-frames", "300",
             "--dir=/tmp/x", "--trace", "t.json", "--draw-log=d.txt", "--screenshot", "5:a.png",
             "--screenshot=12:b c.png", "--check-media", "--windowed", "--scale", "3", "--renderer",
             "cpu"});
  EXPECT_TRUE(options.headless);
  EXPECT_EQ(options.scriptPath, "in.txt");
  EXPECT_EQ(options.seed, 4294967295u);
  EXPECT_EQ(options.maxFrames, 300);
  EXPECT_EQ(options.workingDirectory, "/tmp/x");
  EXPECT_EQ(options.tracePath, "t.json");
  EXPECT_EQ(options.drawLogPath, "d.txt");
  ASSERT_EQ(options.screenshots.size(), 2u);
  EXPECT_EQ(options.screenshots[0].frame, 5);
  EXPECT_EQ(options.screenshots[0].path, "a.png");
  EXPECT_EQ(options.screenshots[1].frame, 12);
  EXPECT_EQ(options.screenshots[1].path, "b c.png");
  EXPECT_TRUE(options.checkMedia);
  EXPECT_EQ(options.fullScreen, false);
  EXPECT_EQ(options.scale, 3);
  EXPECT_EQ(options.renderer, "cpu");
  EXPECT_EQ(Parse({"--renderer=both"}).renderer, "both");
  EXPECT_EQ(Parse({"--fullscreen"}).fullScreen, true);
  EXPECT_EQ(Parse({"--fullscreen", "--fullscreen"}).fullScreen, true);
  EXPECT_TRUE(Parse({"--help"}).help);
  EXPECT_TRUE(Parse({"-h"}).help);
  EXPECT_TRUE(Parse({"--version"}).version);
  EXPECT_EQ(Parse({"--seed", "0"}).seed, 0u);
  EXPECT_EQ(Parse({"--screenshot", "1:C:/odd:name.png"}).screenshots[0].path, "C:/odd:name.png");
}

// Each names the first problem; what it quotes is short and printable.
TEST(CommandLine, BadOptionsAreNamed) {
  const std::string shot = "--screenshot expects N:FILE with a frame number N of 1 or more, not ";
  // clang-format off
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--fast"}, "unknown option '--fast'"}, {{"-x"}, "unknown option '-x'"},
      {{"play"}, "unexpected argument 'play'"}, {{"--script"}, "--script needs a value"},
      {{"--trace="}, "--trace needs a value"}, {{"--headless=yes"}, "--headless takes no value"},
      {{"--seed", "-1"}, "--seed expects a whole number 0..4294967295, not '-1'"},
      {{"--seed", "4294967296"}, "--seed expects a whole number 0..4294967295, not '4294967296'"},
      {{"--seed", "12abc"}, "--seed expects a whole number 0..4294967295, not '12abc'"},
      {{"--max-frames", "0"}, "--max-frames expects a whole number of 1 or more, not '0'"},
      {{"--max-frames", "ten"}, "--max-frames expects a whole number of 1 or more, not 'ten'"},
      {{"--scale", "9"}, "--scale expects a whole number 1..8, not '9'"},
      {{"--scale", "0"}, "--scale expects a whole number 1..8, not '0'"},
      {{"--screenshot", "a.png"}, shot + "'a.png'"}, {{"--screenshot", "3:"}, shot + "'3:'"},
      {{"--screenshot", "0:a.png"}, shot + "'0:a.png'"},
      {{"--renderer", "vulkan"}, "--renderer expects cpu, gl or both, not 'vulkan'"},
      {{"--fullscreen", "--windowed"}, "--fullscreen and --windowed cannot both be given"},
      {{"--bad", "--seed", "x"}, "unknown option '--bad'"},
      {{"\x1b[2J" + std::string(100, 'x')},
       "unexpected argument '\\x1b[2J" + std::string(56, 'x') + "... (44 more bytes)'"},
      {{"--max-frames", "30", "--screenshot", "31:a.png"},
       "--screenshot 31:a.png asks for a frame after the last one (--max-frames 30)"},
      {{"--screenshot", "5:a.png", "--screenshot=9:a.png"},
       "--screenshot 9:a.png: that file is already asked for"},
  };
  // clang-format on
  for (const auto& [args, message] : cases)
    EXPECT_EQ(ParseError(args), message) << args[0];
}

TEST(CommandTail, SkipsTheProgramNameQuotedOrNotAndJoinsQuotingBlanks) {
  const std::pair<const char*, const char*> cases[] = {
      {"tundrel --headless --seed 3", "--headless --seed 3"},
      {" \t tundrel \t  -a  ", "-a  "},
      {"\"C:/Program Files/tundrel.exe\"   --seed 3", "--seed 3"},
      {"\"/opt/my games/tundrel\"--x", "--x"},
      {"\"unterminated quote and more", ""},
      {"tundrel", ""},
      {"   ", ""}};
  for (const auto& [line, tail] : cases)
    EXPECT_EQ(CommandTail(line), tail) << line;
  const char* argv[] = {"/opt/my games/tundrel", "--dir", "a b", "", "--seed", "3"};
  EXPECT_EQ(JoinCommandLine(6, argv), "\"/opt/my games/tundrel\" --dir \"a b\" \"\" --seed 3");
}

// The frame grid: deadlines after on-time and late frames, and the steps of the wait.
constexpr double kPeriod = 1000.0 / 60.0;

// A frame released on time at R, or late at R + d after drawing that took d: the grid holds
// for two periods, then starts again from now; never a deadline in the past.
TEST(FramePacing, LateFramesKeepTheGridForTwoPeriodsThenRestartIt) {
  const double r = 5000, next = r + kPeriod;
  const struct {
    double deadline, now, expected;
  } cases[] = {
      {r, r, next},
      {r, next, next},
      {next, r + 25, r + 2 * kPeriod},
      {next, r + 40, r + 3 * kPeriod},
      {next, r + 60, r + 60 + kPeriod},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(NextDeadline(c.deadline, c.now, kPeriod), c.expected, 1e-9) << c.now - r;
  for (double late = 0; late < 200; late += 0.37)
    EXPECT_GT(NextDeadline(1000, 1000 + late, kPeriod), 1000 + late) << late;
}

TEST(FramePacing, WaitSleepsOnceToJustBeforeTheDeadlineThenSpinsThenReleases) {
  const struct {
    double now;
    WaitStep::Action action;
    double sleepMs;
  } cases[] = {
      {100 - kPeriod, WaitStep::Action::kSleep, kPeriod - kSpinMs},
      {97.25, WaitStep::Action::kSleep, 2.75 - kSpinMs},
      {100 - kSpinMs / 2, WaitStep::Action::kSpin, 0},
      {99.999, WaitStep::Action::kSpin, 0},
      {100, WaitStep::Action::kRelease, 0},
      {250, WaitStep::Action::kRelease, 0},
  };
  for (const auto& c : cases) {
    const WaitStep step = NextWaitStep(100, c.now);
    EXPECT_EQ(step.action, c.action) << c.now;
    EXPECT_NEAR(step.sleepMs, c.sleepMs, 1e-9) << c.now;
  }
}

// After a swap that waited for the display (the browser's animation frame), a frame is released
// within half a period of its deadline, before it too, so a 60 Hz display whose refreshes fall
// a little before or after the deadlines shows every frame; further off, the ordinary wait.
TEST(DisplayPacing, ReleasesWithinHalfAPeriodOfTheDeadlineElseWaitsAsUsual) {
  // On time, late, a refresh just before the deadline, just under half a period before; more
  // than half a period before (a faster display), a whole refresh of a 120 Hz display early.
  for (const double now : {1000.0, 1003.0, 999.9, 991.7, 991.6, 983.4}) {
    const WaitStep step = NextWaitStepOnDisplay(1000, now, kPeriod);
    const WaitStep usual = NextWaitStep(1000, now);
    EXPECT_EQ(step.action, now > 991.65 ? WaitStep::Action::kRelease : usual.action) << now;
    EXPECT_EQ(step.sleepMs, now > 991.65 ? 0 : usual.sleepMs) << now;
  }
}

// The JSON a program's trace is made of: numbers that read back exactly, null where JSON has
// no number, escaped text, and every scope left open closed by Finish.
TEST(TraceWriter, WritesExactNumbersNullsEscapedTextAndClosesWhatIsOpen) {
  TraceWriter trace;
  trace.Double("a", 0.1);
  trace.Double("b", -1e300);
  trace.Double("c", std::nan(""));
  trace.Double("d", HUGE_VAL);
  trace.BeginArray("e");
  trace.Int("", -3);
  trace.String("", "q\"\\\n");
  trace.BeginObject();
  EXPECT_EQ(trace.Finish(), R"({"a":0.1,"b":-1e+300,"c":null,"d":null,"e":[-3,"q\"\\\n",{}]})");
}

}  // namespace
}  // namespace zrb::frame
