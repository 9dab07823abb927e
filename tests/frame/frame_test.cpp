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

TEST(CommandLine, BadOptionsAreNamed) {
  EXPECT_EQ(ParseError({"--fast"}), "unknown option '--fast'");
  EXPECT_EQ(ParseError({"-x"}), "unknown option '-x'");
  EXPECT_EQ(ParseError({"play"}), "unexpected argument 'play'");
  EXPECT_EQ(ParseError({"--script"}), "--script needs a value");
  EXPECT_EQ(ParseError({"--trace="}), "--trace needs a value");
  EXPECT_EQ(ParseError({"--headless=yes"}), "--headless takes no value");
  EXPECT_EQ(ParseError({"--seed", "-1"}), "--seed expects a whole number 0..4294967295, not '-1'");
  EXPECT_EQ(ParseError({"--seed", "4294967296"}),
            "--seed expects a whole number 0..4294967295, not '4294967296'");
  EXPECT_EQ(ParseError({"--seed", "12abc"}),
            "--seed expects a whole number 0..4294967295, not '12abc'");
  EXPECT_EQ(ParseError({"--max-frames", "0"}),
            "--max-frames expects a whole number of 1 or more, not '0'");
  EXPECT_EQ(ParseError({"--max-frames", "ten"}),
            "--max-frames expects a whole number of 1 or more, not 'ten'");
  EXPECT_EQ(ParseError({"--scale", "9"}), "--scale expects a whole number 1..8, not '9'");
  EXPECT_EQ(ParseError({"--scale", "0"}), "--scale expects a whole number 1..8, not '0'");
  EXPECT_EQ(ParseError({"--screenshot", "a.png"}),
            "--screenshot expects N:FILE with a frame number N of 1 or more, not 'a.png'");
  EXPECT_EQ(ParseError({"--screenshot", "0:a.png"}),
            "--screenshot expects N:FILE with a frame number N of 1 or more, not '0:a.png'");
  EXPECT_EQ(ParseError({"--screenshot", "3:"}),
            "--screenshot expects N:FILE with a frame number N of 1 or more, not '3:'");
  EXPECT_EQ(ParseError({"--renderer", "vulkan"}),
            "--renderer expects cpu, gl or both, not 'vulkan'");
  EXPECT_EQ(ParseError({"--fullscreen", "--windowed"}),
            "--fullscreen and --windowed cannot both be given");
  // The first problem is the one reported.
  EXPECT_EQ(ParseError({"--bad", "--seed", "x"}), "unknown option '--bad'");
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

TEST(FramePacing, AnOnTimeFrameMovesTheDeadlineByExactlyOnePeriod) {
  EXPECT_DOUBLE_EQ(NextDeadline(1000, 1000, kPeriod), 1000 + kPeriod);
  EXPECT_DOUBLE_EQ(NextDeadline(1000, 1000 + kPeriod, kPeriod), 1000 + kPeriod);
}

// A frame released at R (its deadline) is given a next deadline of R + period; its drawing
// then takes 25, 40 or 60 ms, so the next frame is released late, at once, at R + d.
TEST(FramePacing, LateFramesKeepTheGridForTwoPeriodsThenRestartIt) {
  const double release = 5000;
  const double deadline = NextDeadline(release - kPeriod, release, kPeriod);
  ASSERT_DOUBLE_EQ(deadline, release);
  const double next = release + kPeriod;

  // 25 ms: the next grid point, 33.3 ms after the release.
  EXPECT_NEAR(NextDeadline(next, release + 25, kPeriod), release + 2 * kPeriod, 1e-9);
  // 40 ms: the grid point after that, 50 ms after the release.
  EXPECT_NEAR(NextDeadline(next, release + 40, kPeriod), release + 3 * kPeriod, 1e-9);
  // 60 ms: more than two periods late, so the grid starts again from now.
  EXPECT_NEAR(NextDeadline(next, release + 60, kPeriod), release + 60 + kPeriod, 1e-9);
}

TEST(FramePacing, TheNextDeadlineIsNeverInThePast) {
  for (double late = 0; late < 200; late += 0.37) {
    const double now = 1000 + late;
    EXPECT_GT(NextDeadline(1000, now, kPeriod), now) << late;
  }
}

TEST(FramePacing, WaitSleepsToThreeMillisecondsBeforeThenToHalfAMillisecondThenSpins) {
  WaitStep step = NextWaitStep(100, 100 - kPeriod);
  EXPECT_EQ(step.action, WaitStep::Action::kSleep);
  EXPECT_EQ(step.sleepMs, 13);  // 16.67 - 3, cut to whole milliseconds
  step = NextWaitStep(100, 92.5);
  EXPECT_EQ(step.action, WaitStep::Action::kSleep);
  EXPECT_EQ(step.sleepMs, 4);
  step = NextWaitStep(100, 93);  // 7 ms to go: the fine sleep, to half a millisecond before
  EXPECT_EQ(step.action, WaitStep::Action::kSleep);
  EXPECT_DOUBLE_EQ(step.sleepMs, 6.5);
  step = NextWaitStep(100, 97.25);
  EXPECT_EQ(step.action, WaitStep::Action::kSleep);
  EXPECT_DOUBLE_EQ(step.sleepMs, 2.25);
  EXPECT_EQ(NextWaitStep(100, 99.5).action, WaitStep::Action::kSpin);
  EXPECT_EQ(NextWaitStep(100, 99.75).action, WaitStep::Action::kSpin);
  EXPECT_EQ(NextWaitStep(100, 99.999).action, WaitStep::Action::kSpin);
  EXPECT_EQ(NextWaitStep(100, 100).action, WaitStep::Action::kRelease);
  EXPECT_EQ(NextWaitStep(100, 250).action, WaitStep::Action::kRelease);
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
