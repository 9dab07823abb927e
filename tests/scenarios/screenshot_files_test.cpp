// Screenshots of the real game on the test display: F12 never writes through a link planted
// at the next picture's name, and a screenshot that cannot be written leaves whatever was at
// its path as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "run_binary.h"

namespace zrb {
namespace {

namespace fs = std::filesystem;
using zrb::testing::BinaryRun;
using zrb::testing::ReadWholeFile;
using zrb::testing::RunResult;

// Real mode without a sound card; a run that blocks is ended from outside.
const std::string kEnvironment = "SDL_AUDIODRIVER=dummy timeout -s KILL 60";

#ifdef KEEP_LIBRARIES_LOADED
// The sanitizer build: what Mesa and ALSA keep in libraries SDL closes again is theirs, not a
// leak of the game's (tests/support/keep_libraries_loaded.cpp).
const std::string kKeepLoaded = KEEP_LIBRARIES_LOADED;
#else
const std::string kKeepLoaded;
#endif

std::string Preload(bool faults) {
  std::string libraries = kKeepLoaded;
  if (faults) libraries += (libraries.empty() ? "" : " ") + std::string(FAULT_SHIM);
  return libraries.empty() ? "" : "LD_PRELOAD='" + libraries + "'";
}

bool IsPng(const std::string& path) {
  return ReadWholeFile(path).rfind("\x89PNG\r\n\x1a\n", 0) == 0;
}

// `faults`: FAULT_* settings for the shim (tests/support/fault_shim.c), "" for none.
RunResult RunGame(const BinaryRun& run, const std::string& options,
                  const std::string& faults = "") {
  return run.Run(TUNDREL_BINARY, "--max-frames 40 --dir " + run.Dir() + " " + options,
                 Preload(!faults.empty()) + " " + faults + " " + kEnvironment);
}

TEST(ScreenshotFiles, TheScreenshotKeyNeverWritesThroughAPlantedLink) {
  BinaryRun run;
  fs::create_symlink(run.Path("victim.png"), run.Path("tundrel-0001.png"));
  run.Write("script.txt", "100 key F12 down\n150 key F12 up\n");
  const RunResult result = RunGame(run, "--script script.txt --screenshot 5:fresh.png");
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_FALSE(fs::exists(run.Path("victim.png")));
  EXPECT_TRUE(fs::is_symlink(run.Path("tundrel-0001.png")));
  EXPECT_TRUE(IsPng(run.Path("tundrel-0002.png"))) << result.err;
  EXPECT_TRUE(IsPng(run.Path("fresh.png"))) << result.err;
}

TEST(ScreenshotFiles, AScreenshotThatCannotBeWrittenLeavesItsPathAsItWas) {
  struct Case {
    const char* name;
    const char* environment;
  };
  const Case cases[] = {
      {"a file, on a full disk", "FAULT_WRITE_ENOSPC=shot.png"},
      {"a FIFO", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BinaryRun run;
    if (*c.environment) {
      run.Write("shot.png", "precious");
    } else {
      ASSERT_EQ(::mkfifo(run.Path("shot.png").c_str(), 0600), 0);
    }
    const RunResult result = RunGame(run, "--screenshot 5:shot.png", c.environment);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.err.find("screenshot: cannot write " + run.Path("shot.png")),
              std::string::npos)
        << result.err;
    if (*c.environment) {
      EXPECT_TRUE(ReadWholeFile(run.Path("shot.png")) == "precious");
    } else {
      EXPECT_EQ(fs::status(run.Path("shot.png")).type(), fs::file_type::fifo);
    }
    for (const auto& entry : fs::directory_iterator(run.Dir())) {
      EXPECT_EQ(entry.path().filename().string().rfind("shot.png.", 0), std::string::npos)
          << entry.path();
    }
  }
}

}  // namespace
}  // namespace zrb
