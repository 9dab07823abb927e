// Whole games played headless from the scripts in runs/, each compared with its recording
// (NAME.rec beside NAME.script): every frame's trace fields and draw calls, the exit status and
// the files the script names. TUNDREL_RECORD=1 writes the recordings instead
// (scripts/record-runs.sh).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "recorded/recording.h"
#include "recorded/run_script.h"
#include "run_names.h"

namespace tundrel::recorded {
namespace {

namespace fs = std::filesystem;

class RecordedRun : public ::testing::TestWithParam<std::string> {};

TEST_P(RecordedRun, MatchesItsRecording) {
  const fs::path base = fs::path(TUNDREL_RUNS_DIR) / GetParam();
  RunScript script;
  std::string error;
  ASSERT_TRUE(ReadRunScript(base.string() + ".script", script, error)) << error;
  const Outcome actual = PlayRun(script, TUNDREL_BUILD_DIR);
  const fs::path recordingPath = base.string() + ".rec";

  const char* record = std::getenv("TUNDREL_RECORD");
  if (record && std::string(record) == "1") {
    std::ofstream(recordingPath, std::ios::binary)
        << Encode(actual, "# " + GetParam() +
                              ".script played headless, recorded by scripts/record-runs.sh\n");
    std::printf("recorded %s: %zu frames, %s\n", GetParam().c_str(), actual.frames.size(),
                actual.facts[0].c_str());
    return;
  }
  std::ifstream in(recordingPath, std::ios::binary);
  ASSERT_TRUE(in) << recordingPath << " is missing: scripts/record-runs.sh makes it";
  const std::optional<Outcome> expected =
      Decode(std::string(std::istreambuf_iterator<char>(in), {}), error);
  ASSERT_TRUE(expected) << recordingPath << ": " << error;
  const std::string difference = FirstDifference(*expected, actual);
  if (!difference.empty()) {
    ADD_FAILURE() << "the run " << GetParam() << " parts from its recording at " << difference
                  << "\n(after an intended change: scripts/record-runs.sh)";
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, RecordedRun,
                         ::testing::ValuesIn(std::vector<std::string> TUNDREL_RUN_NAMES),
                         [](const auto& run) { return run.param; });

}  // namespace
}  // namespace tundrel::recorded
