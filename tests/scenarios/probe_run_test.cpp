// End-to-end runs of a small program on the engine: exit statuses, the log, determinism of
// the trace, scripted endings, idle key waits, runtime errors, and command-line complaints.
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
  EXPECT_NE(at, std::string::npos) << "missing: " << what << "\nin:\n" << text.substr(0, 2000);
  return at;
}

int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text)
    lines += c == '\n';
  return lines;
}

RunResult Probe(const BinaryRun& run, const std::string& args, const std::string& mode = "") {
  return run.Run(PROBE_BINARY, args, mode.empty() ? "" : "PROBE_MODE=" + mode);
}

TEST(ProbeRun, MaxFramesEndsARunCleanlyWithTheWholeLog) {
  BinaryRun run;
  const RunResult result =
      Probe(run, "--headless --max-frames 300 --dir " + run.Dir() + " --trace trace.json");
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
  Find(trace, "{\"frame\":300,\"ms\":4983.333,\"frames\":298,");
}

TEST(ProbeRun, SameSeedAndScriptGiveTheSameTraceByteForByte) {
  BinaryRun run;
  run.Write("script.txt",
            "# a little of everything\n"
            "100 key Space down\n116 key Space up\n"
            "200 joy x -32768\n250 joy button1 128\n"
            "300 focus lost\n700 focus gained\n"
            "1000 close\n");
  const std::string args = "--headless --seed 77 --script script.txt --dir " + run.Dir();
  EXPECT_EQ(Probe(run, args + " --trace a.json").exitStatus, 0);
  EXPECT_EQ(Probe(run, args + " --trace b.json").exitStatus, 0);
  const std::string a = ReadWholeFile(run.Path("a.json"));
  EXPECT_GT(CountLines(a), 20);
  EXPECT_EQ(a, ReadWholeFile(run.Path("b.json")));
  Find(a, "\"joy\":{\"x\":-1,\"b1\":128}");
  // The pause shows in the trace as one long frame: the focus came back at 700 ms, during
  // the pause loop's 200 ms sleep from 500 ms on, which then ran its course.
  Find(a, "{\"frame\":19,\"ms\":300.000,");
  Find(a, "{\"frame\":20,\"ms\":900.000,");

  // Another seed draws other numbers; another script gives another run.
  EXPECT_EQ(Probe(run, "--headless --seed 78 --script script.txt --trace c.json").exitStatus, 0);
  EXPECT_NE(ReadWholeFile(run.Path("c.json")), a);
  run.Write("script.txt", "1000 close\n");
  EXPECT_EQ(Probe(run, args + " --trace d.json").exitStatus, 0);
  EXPECT_NE(ReadWholeFile(run.Path("d.json")), a);
}

TEST(ProbeRun, AScriptedCloseEndsTheRunAtTheNextFrame) {
  BinaryRun run;
  run.Write("close.txt", "1000 close\n");
  const RunResult result = Probe(run, "--headless --script close.txt --trace t.json");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  const std::string trace = ReadWholeFile(run.Path("t.json"));
  const int frames = CountLines(trace);
  EXPECT_GE(frames, 60);
  EXPECT_LE(frames, 61);
  EXPECT_EQ(trace.find("\"ms\":1016.667"), std::string::npos);
  Find(run.Log(), "zrb is shut down");
}

TEST(ProbeRun, EscapeEndsTheRunWhileItIsAllowed) {
  BinaryRun run;
  run.Write("escape.txt", "500 key Escape down\n");
  const RunResult result = Probe(run, "--headless --script escape.txt --trace t.json");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(CountLines(ReadWholeFile(run.Path("t.json"))), 31);
}

TEST(ProbeRun, AKeyWaitWithoutFramesSeesAScriptedTapAtItsTime) {
  BinaryRun run;
  run.Write("tap.txt", "2000 key Space down\n2030 key Space up\n3000 close\n");
  const RunResult result = Probe(run, "--headless --script tap.txt --trace t.json", "keywait");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  const std::string trace = ReadWholeFile(run.Path("t.json"));
  // Frame 1 came from start-up; the next one only after the wait saw Space at 2000 ms. A
  // scan of 255 codes costs 255/256 ms of virtual time: the press is noticed within one
  // scan, and the scan in progress then runs to its end.
  const std::string prefix = "{\"frame\":2,\"ms\":";
  const size_t second = Find(trace, prefix);
  const double ms = std::stod(trace.substr(second + prefix.size()));
  EXPECT_GE(ms, 2000.0);
  EXPECT_LT(ms, 2002.0);
  Find(trace, "\"lastKey\":57");
}

TEST(ProbeRun, AKeyWaitNoScriptCanEndStopsTheRunInsteadOfHanging) {
  BinaryRun run;
  const RunResult result = Probe(run, "--headless", "keywait");
  EXPECT_EQ(result.exitStatus, 0);
  Find(result.err, "headless run is waiting for input and its script has none left");
}

TEST(ProbeRun, ARuntimeErrorExitsNonZeroWithTheErrorText) {
  BinaryRun run;
  const RunResult result = Probe(run, "--headless --trace t.json", "fatal");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err, "probe: Runtime error 0009 out of bounds\n");
  const std::string log = run.Log();
  EXPECT_LT(Find(log, "Runtime error 0009 out of bounds\r\n"), Find(log, "Shut down ZRB\r\n"));
  EXPECT_EQ(CountLines(ReadWholeFile(run.Path("t.json"))), 11);
}

TEST(ProbeRun, ReturningFromTheEntryIsAnOrdinaryEnding) {
  BinaryRun run;
  const RunResult result = Probe(run, "--headless", "return");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.err, "");
  Find(run.Log(), "Shut down ZRB\r\nzrb is shut down\r\n");
}

TEST(ProbeRun, BadCommandLinesAreRefusedWithAReasonAndStartNothing) {
  BinaryRun run;
  RunResult result = Probe(run, "--headless --frobnicate");
  EXPECT_EQ(result.exitStatus, 2);
  Find(result.err, "probe: unknown option '--frobnicate'");
  Find(result.err, "--help");

  result = Probe(run, "--headless --max-frames");
  EXPECT_EQ(result.exitStatus, 2);
  Find(result.err, "--max-frames needs a value");

  run.Write("bad.txt", "100 key Space down\n200 key Spcae up\n");
  result = Probe(run, "--headless --script bad.txt");
  EXPECT_EQ(result.exitStatus, 2);
  Find(result.err, "bad.txt:2: unknown key name 'Spcae'");

  result = Probe(run, "--headless --script missing.txt");
  EXPECT_EQ(result.exitStatus, 2);
  Find(result.err, "missing.txt: cannot read the input script");

  result = Probe(run, "--headless --trace /nonexistent/dir/t.json");
  EXPECT_EQ(result.exitStatus, 2);
  Find(result.err, "cannot write the trace");

  EXPECT_EQ(run.Log(), "");
}

}  // namespace
}  // namespace zrb
