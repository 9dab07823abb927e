// End-to-end runs of a small program on the engine: how each kind of run ends (exit status,
// standard error, the trace, the log), idle key waits, runtime errors and command-line
// complaints.
#include <gtest/gtest.h>

#include <string>

#include "run_binary.h"

namespace zrb {
namespace {

using zrb::testing::BinaryRun;
using zrb::testing::ReadWholeFile;
using zrb::testing::RunResult;

int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text)
    lines += c == '\n';
  return lines;
}

struct ProbeCase {
  const char* what;
  const char* mode;    // PROBE_MODE (probe_game.cpp)
  const char* args;    // after --headless
  const char* script;  // written to script.txt
  int exitStatus;
  const char* error;  // a part of standard error ("" for nothing at all)
  int traceLines;     // trace.json's frames, or -1 when there is none
  const char* trace;  // a part of the trace
};

const ProbeCase kCases[] = {
    {"frame limit", "", "--max-frames 300", "", 0, "", 300,
     "{\"frame\":300,\"ms\":4983.333,\"frames\":298,"},
    {"scripted close", "", "--script script.txt", "1000 close\n", 0, "", 61,
     "{\"frame\":61,\"ms\":1000.000,"},
    {"escape", "", "--script script.txt", "500 key Escape down\n", 0, "", 31, "\"frame\":31,"},
    // Frame 2 comes once the key wait (a scan of 255 codes costs 255/256 ms of virtual time)
    // saw Space at 2000 ms and finished its scan.
    {"key wait", "keywait", "--script script.txt",
     "2000 key Space down\n2030 key Space up\n3000 close\n", 0, "", -1,
     "{\"frame\":2,\"ms\":2001.148,\"frames\":0,\"lastKey\":57"},
    {"key wait without input left", "keywait", "", "", 0,
     "headless run is waiting for input and its script has none left", -1, ""},
    {"runtime error", "fatal", "", "", 1, "probe: Runtime error 0009 out of bounds\n", 11,
     "\"frame\":11,"},
    {"return from the entry", "return", "", "", 0, "", 6, "\"frame\":6,"},
    {"unknown option", "", "--frobnicate", "", 2, "probe: unknown option '--frobnicate'", -1, ""},
    {"option without value", "", "--max-frames", "", 2, "--max-frames needs a value", -1, ""},
    {"misspelt key in the script", "", "--script script.txt",
     "100 key Space down\n200 key Spcae up\n", 2, "script.txt:2: unknown key name 'Spcae'", -1, ""},
    {"missing script", "", "--script missing.txt", "", 2,
     "missing.txt: cannot read the input script", -1, ""},
    {"unwritable trace", "", "--trace /nonexistent/dir/t.json", "", 2, "cannot write the trace", -1,
     ""},
};

TEST(ProbeRun, EachWayOfEndingARun) {
  for (const ProbeCase& c : kCases) {
    SCOPED_TRACE(c.what);
    BinaryRun run;
    run.Write("script.txt", c.script);
    const std::string trace = c.traceLines >= 0 || *c.trace ? " --trace trace.json" : "";
    const RunResult result = run.Run(PROBE_BINARY, std::string("--headless ") + c.args + trace,
                                     *c.mode ? std::string("PROBE_MODE=") + c.mode : "");
    EXPECT_EQ(result.exitStatus, c.exitStatus);
    if (*c.error) {
      EXPECT_NE(result.err.find(c.error), std::string::npos) << result.err;
    } else {
      EXPECT_EQ(result.err, "");
    }
    const std::string traced = ReadWholeFile(run.Path("trace.json"));
    if (c.traceLines >= 0) {
      EXPECT_EQ(CountLines(traced), c.traceLines);
    }
    EXPECT_NE(traced.find(c.trace), std::string::npos) << traced.substr(0, 300);
    // A refused command line starts nothing; every other run logs its start and its end.
    const std::string log = run.Log();
    if (c.exitStatus == 2) {
      EXPECT_EQ(log, "");
      continue;
    }
    const size_t ready = log.find("Init GFX\r\nInit Finalized\r\n");
    const size_t down = log.find("Shut down ZRB\r\nzrb is shut down\r\n");
    ASSERT_NE(down, std::string::npos) << log;
    EXPECT_LT(ready, down);
    EXPECT_EQ(down + 33, log.size());
    if (c.exitStatus == 1) {
      EXPECT_LT(log.find("Runtime error 0009 out of bounds\r\n"), down);
    }
  }
}

}  // namespace
}  // namespace zrb
