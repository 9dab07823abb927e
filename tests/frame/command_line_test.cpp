// The command line: every option, the bad ones, and the command tail.
#include <gtest/gtest.h>

#include "engine/frame/command_line.h"

namespace zrb::frame {
namespace {

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
             "--screenshot=12:b c.png", "--check-media", "--windowed", "--scale", "3"});
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

}  // namespace
}  // namespace zrb::frame
