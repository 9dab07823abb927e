// The game binary run headless from start to end: exit statuses, the log, determinism of
// the trace, scripted endings, and the command line's complaints.
#include <gtest/gtest.h>

#include <string>

#include "run_binary.h"

namespace zrb {
namespace {

using zrb::testing::BinaryRun;
using zrb::testing::ReadWholeFile;
using zrb::testing::RunResult;

size_t Find(const std::string& text, const std::string& what) {
  const size_t at = text.find(what);
  EXPECT_NE(at, std::string::npos) << "missing: " << what << "\nin:\n" << text;
  return at;
}

int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text)
    lines += c == '\n';
  return lines;
}

TEST(HeadlessRun, MaxFramesEndsARunCleanlyWithTheWholeLog) {
  BinaryRun run;
  const RunResult result =
      run.Run("--headless --max-frames 300 --dir " + run.Dir() + " --trace trace.json");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, "");
  std::printf("300 headless frames took %.3f s of real time\n", result.seconds);
  const std::string log = run.Log();
  const size_t a = Find(log, "Init GFX\r\n");
  const size_t b = Find(log, "Init Finalized\r\n");
  const size_t c = Find(log, "Shut down ZRB\r\n");
  const size_t d = Find(log, "zrb is shut down\r\n");
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
  EXPECT_LT(c, d);
  const std::string trace = ReadWholeFile(run.Path("trace.json"));
  EXPECT_EQ(CountLines(trace), 300);
  Find(trace, "{\"frame\":300,\"ms\":4983.333,");
}

TEST(HeadlessRun, SameSeedAndScriptGiveTheSameTraceByteForByte) {
  BinaryRun run;
  run.Write("script.txt",
            "# a little of everything\n"
            "100 key Space down\n116 key Space up\n"
            "200 joy x -32768\n250 joy button1 128\n"
            "300 focus lost\n700 focus gained\n"
            "1000 close\n");
  const std::string args = "--headless --seed 77 --script script.txt --dir " + run.Dir();
  const RunResult first = run.Run(args + " --trace a.json");
  const RunResult second = run.Run(args + " --trace b.json");
  EXPECT_EQ(first.exitStatus, 0) << first.err;
  EXPECT_EQ(second.exitStatus, 0) << second.err;
  const std::string a = ReadWholeFile(run.Path("a.json"));
  const std::string b = ReadWholeFile(run.Path("b.json"));
  EXPECT_GT(CountLines(a), 20);
  EXPECT_EQ(a, b);
  // The pause shows in the trace as one long frame: the focus came back at 700 ms, during
  // the pause loop's 200 ms sleep from 500 ms on, which then ran its course.
  Find(a, "{\"frame\":19,\"ms\":300.000,");
  Find(a, "{\"frame\":20,\"ms\":900.000,");
  // A different script gives a different run.
  run.Write("script.txt", "1000 close\n");
  const RunResult third = run.Run(args + " --trace c.json");
  EXPECT_EQ(third.exitStatus, 0);
  EXPECT_NE(ReadWholeFile(run.Path("c.json")), a);
}

TEST(HeadlessRun, AScriptedCloseEndsTheRunAtTheNextFrame) {
  BinaryRun run;
  run.Write("close.txt", "1000 close\n");
  const RunResult result =
      run.Run("--headless --script close.txt --trace t.json --dir " + run.Dir());
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  const std::string trace = ReadWholeFile(run.Path("t.json"));
  const int frames = CountLines(trace);
  EXPECT_GE(frames, 60);
  EXPECT_LE(frames, 61);
  EXPECT_EQ(trace.find("\"ms\":1016.667"), std::string::npos);
  Find(run.Log(), "zrb is shut down");
}

TEST(HeadlessRun, EscapeEndsThePlaceholderGame) {
  BinaryRun run;
  run.Write("escape.txt", "500 key Escape down\n");
  const RunResult result = run.Run("--headless --script escape.txt --trace t.json");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(CountLines(ReadWholeFile(run.Path("t.json"))), 31);
}

TEST(HeadlessRun, BadCommandLinesAreRefusedWithAReason) {
  BinaryRun run;
  RunResult result = run.Run("--headless --frobnicate");
  EXPECT_EQ(result.exitStatus, 2);
  Find(result.err, "tundrel: unknown option '--frobnicate'");
  Find(result.err, "--help");

  result = run.Run("--headless --max-frames");
  EXPECT_EQ(result.exitStatus, 2);
  Find(result.err, "--max-frames needs a value");

  run.Write("bad.txt", "100 key Space down\n200 key Spcae up\n");
  result = run.Run("--headless --script bad.txt");
  EXPECT_EQ(result.exitStatus, 2);
  Find(result.err, "bad.txt:2: unknown key name 'Spcae'");

  result = run.Run("--headless --script missing.txt");
  EXPECT_EQ(result.exitStatus, 2);
  Find(result.err, "missing.txt: cannot read the input script");

  result = run.Run("--headless --trace /nonexistent/dir/t.json");
  EXPECT_EQ(result.exitStatus, 2);
  Find(result.err, "cannot write the trace");

  // Nothing was started for a refused command line.
  EXPECT_EQ(run.Log(), "");
}

TEST(HeadlessRun, HelpAndVersion) {
  BinaryRun run;
  RunResult result = run.Run("--help");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out.rfind("Usage: tundrel [options]", 0), 0u);
  result = run.Run("--version");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, "tundrel 1.0\n");
}

}  // namespace
}  // namespace zrb
