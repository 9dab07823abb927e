// The game binary itself, for what holds whatever the game shows: its command line, a clean
// headless run, and the same trace for the same seed and script.
#include <gtest/gtest.h>

#include <string>

#include "run_binary.h"

namespace zrb {
namespace {

using zrb::testing::BinaryRun;
using zrb::testing::ReadWholeFile;
using zrb::testing::RunResult;

TEST(GameBinary, HelpVersionAndABadOption) {
  BinaryRun run;
  RunResult result = run.Run(TUNDREL_BINARY, "--help");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out.rfind("Usage: tundrel [options]", 0), 0u);
  result = run.Run(TUNDREL_BINARY, "--version");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out.rfind("tundrel ", 0), 0u);
  result = run.Run(TUNDREL_BINARY, "--headless --speed 2");
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_NE(result.err.find("unknown option '--speed'"), std::string::npos);
}

TEST(GameBinary, AHeadlessRunEndsCleanlyWithTheWholeLog) {
  BinaryRun run;
  const RunResult result =
      run.Run(TUNDREL_BINARY, "--headless --max-frames 300 --dir " + run.Dir());
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  std::printf("headless game run took %.3f s of real time\n", result.seconds);
  const std::string log = run.Log();
  const size_t a = log.find("Init GFX\r\n");
  const size_t b = log.find("Init Finalized\r\n");
  const size_t c = log.find("Shut down ZRB\r\n");
  const size_t d = log.find("zrb is shut down\r\n");
  ASSERT_NE(d, std::string::npos) << log;
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
  EXPECT_LT(c, d);
}

TEST(GameBinary, SameSeedAndScriptGiveTheSameTrace) {
  BinaryRun run;
  run.Write("script.txt",
            "400 key Space down\n450 key Space up\n900 key Down down\n950 key Down up\n"
            "1400 key Enter down\n1450 key Enter up\n3000 close\n");
  const std::string args = "--headless --seed 5 --script script.txt";
  EXPECT_EQ(run.Run(TUNDREL_BINARY, args + " --trace a.json").exitStatus, 0);
  EXPECT_EQ(run.Run(TUNDREL_BINARY, args + " --trace b.json").exitStatus, 0);
  const std::string a = ReadWholeFile(run.Path("a.json"));
  EXPECT_FALSE(a.empty());
  EXPECT_EQ(a, ReadWholeFile(run.Path("b.json")));
}

}  // namespace
}  // namespace zrb
