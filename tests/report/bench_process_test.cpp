// bench_process run as the scripts run it: on small shell programs whose behaviour is known.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;  // bench_process's own exit status
  std::string output;
};

// Runs bench_process with OPTIONS on `sh -c SCRIPT`; the script is single-quoted.
Outcome Measure(const std::string& options, const std::string& script) {
  const std::string command =
      std::string(BENCH_PROCESS_PROGRAM) + " " + options + " -- sh -c '" + script + "' 2>&1";
  Outcome outcome;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return outcome;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    outcome.output.append(buffer, got);
  const int status = pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

// The number after TEXT in the report, or -1.
double FigureAfter(const std::string& output, const std::string& text) {
  const size_t at = output.find(text);
  return at == std::string::npos ? -1 : std::atof(output.c_str() + at + text.size());
}

class BenchProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("bench_process_test_" + std::to_string(getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Path(const char* name) const { return (folder_ / name).string(); }
  fs::path folder_;
};

TEST_F(BenchProcessTest, PassesOnTheProgramsEndingAndReportsItsTimes) {
  Outcome exited = Measure("--pass-status", "sleep 0.2; exit 7");
  EXPECT_EQ(exited.status, 7);
  EXPECT_NE(exited.output.find("exit status: 7\n"), std::string::npos) << exited.output;
  EXPECT_GE(FigureAfter(exited.output, "wall time: "), 0.19);
  EXPECT_GT(FigureAfter(exited.output, "peak resident memory: "), 0);

  Outcome crashed = Measure("--pass-status", "kill -SEGV $$");
  EXPECT_EQ(crashed.status, 128 + 11);
  EXPECT_NE(crashed.output.find("exit status: signal 11"), std::string::npos) << crashed.output;

  // Without --pass-status the report is the result: bench_process itself succeeded.
  EXPECT_EQ(Measure("", "exit 3").status, 0);
}

TEST_F(BenchProcessTest, ATimeoutEndsTheProgramAndWhatItStarted) {
  const std::string pidFile = Path("helper.pid");
  const auto start = std::chrono::steady_clock::now();
  const Outcome outcome =
      Measure("--timeout 0.5 --pass-status", "sleep 60 & echo $! > " + pidFile + "; wait");
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(outcome.status, 124);
  EXPECT_NE(outcome.output.find("exit status: timeout"), std::string::npos) << outcome.output;
  EXPECT_LT(seconds, 30);
  // The helper the program started went with it (gone, or a zombie waiting to be reaped).
  std::ifstream in(pidFile);
  long helper = 0;
  ASSERT_TRUE(in >> helper);
  bool ended = false;
  for (int tries = 0; tries < 200 && !ended; ++tries) {
    std::ifstream stat("/proc/" + std::to_string(helper) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)), {});
    ended = text.empty() || text.find(") Z") != std::string::npos;
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(ended) << "helper " << helper << " still runs";
}

TEST_F(BenchProcessTest, TimesTheFirstMatchingLineAndIgnoresAnOldFile) {
  const std::string trace = Path("trace.txt");
  std::ofstream(trace) << "{\"screen\":\"title\"}\n";  // left over from an earlier run
  const Outcome old = Measure("--first-line " + trace + " title", "sleep 0.2");
  EXPECT_NE(old.output.find("first line containing title: never"), std::string::npos) << old.output;

  const Outcome fresh =
      Measure("--first-line " + trace + " title",
              "echo start >> " + trace + "; sleep 0.4; echo the title >> " + trace + "; sleep 0.2");
  const double seconds = FigureAfter(fresh.output, "first line containing title: ");
  EXPECT_GE(seconds, 0.39) << fresh.output;
  EXPECT_LT(seconds, 10) << fresh.output;
}

TEST_F(BenchProcessTest, ProcessorShareOverAWindowTellsBusyFromIdle) {
  // A loaded machine may give the busy loop well under a whole core; idle stays near nothing.
  // The busy loop forks nothing: the window counts the program's own threads, not children.
  const Outcome busy = Measure("--cpu-window 0.3:1.3 --timeout 2", "while :; do :; done");
  const Outcome idle = Measure("--cpu-window 0.3:1.3", "sleep 2");
  const char* share = "processor share 0.3-1.3 s: ";
  ASSERT_NE(busy.output.find(share), std::string::npos) << busy.output;
  ASSERT_NE(idle.output.find(share), std::string::npos) << idle.output;
  const double busyShare = FigureAfter(busy.output.substr(busy.output.find(" in ")), " s, ");
  const double idleShare = FigureAfter(idle.output.substr(idle.output.find(" in ")), " s, ");
  EXPECT_GT(busyShare, 20) << busy.output;
  EXPECT_LT(idleShare, 5) << idle.output;

  const Outcome tooShort = Measure("--cpu-window 0.3:1.3", "sleep 0.1");
  EXPECT_NE(tooShort.output.find("not measured"), std::string::npos) << tooShort.output;
}

TEST_F(BenchProcessTest, SamplesMemoryAndKeepsTheProgramsOutputInItsLog) {
  const std::string log = Path("log.txt");
  const Outcome outcome =
      Measure("--rss-every 50 --log " + log, "echo said; echo told >&2; sleep 0.5");
  EXPECT_GE(FigureAfter(outcome.output, "resident memory: "), 5) << outcome.output;
  EXPECT_EQ(outcome.output.find("said"), std::string::npos);
  std::ifstream in(log);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "said\ntold\n");
}

TEST_F(BenchProcessTest, RefusesABadCommandLineOrAMissingProgram) {
  EXPECT_EQ(Measure("--cpu-window 2:1", "true").status, 2);
  EXPECT_EQ(Measure("--rss-every 0", "true").status, 2);
  EXPECT_EQ(Measure("--frobnicate", "true").status, 2);
  const std::string missing = std::string(BENCH_PROCESS_PROGRAM) + " -- /no/such/program 2>&1";
  EXPECT_EQ(WEXITSTATUS(std::system(missing.c_str())), 2);
}

}  // namespace
