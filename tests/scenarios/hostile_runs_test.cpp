// The real game given what it cannot use: what a command line names is refused with a reason
// (exit status 2) or reported, never taken for something else in silence, and a screenshot
// that cannot be written (a full disk, a FIFO at its path) leaves whatever was at its path as
// it was; F12 never writes through a link planted at the next picture's name.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "run_binary.h"

namespace zrb {
namespace {

namespace fs = std::filesystem;
using zrb::testing::BinaryRun;
using zrb::testing::ReadWholeFile;
using zrb::testing::RunResult;

// The game without a sound card, with the fault shim (tests/support/fault_shim.c) for the
// FAULT_* settings in `faults`; a run that blocks is ended from outside.
RunResult RunGame(const BinaryRun& run, const std::string& options, const std::string& faults) {
#ifdef KEEP_LIBRARIES_LOADED
  // The sanitizer build: what Mesa and ALSA keep in libraries SDL closes again is theirs, not a
  // leak of the game's (tests/support/keep_libraries_loaded.cpp).
  const std::string preload = "LD_PRELOAD='" KEEP_LIBRARIES_LOADED " " FAULT_SHIM "' ";
#else
  const std::string preload = "LD_PRELOAD=" FAULT_SHIM " ";
#endif
  return run.Run(TUNDREL_BINARY, options,
                 preload + faults + " SDL_AUDIODRIVER=dummy timeout -s KILL 60");
}

TEST(HostileRuns, WhatCannotBeUsedIsRefusedOrReportedAndLeftAsItWas) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run the tests under xvfb-run)";
  const struct {
    const char* arguments;
    const char* faults;
    int status;
    const char* message;
  } cases[] = {
      // Root enters any folder, so the shim refuses it as the system refuses a player.
      {"--headless --dir locked", "FAULT_ENTER_EACCES=locked", 2, "cannot enter "},
      {"--headless --script folder", "", 2, "folder: cannot read the input script: it is a folder"},
      {"--headless --draw-log missing/draw.log", "", 2,
       "missing/draw.log: cannot create the draw log: No such file or directory"},
      {"--headless --draw-log /dev/full", "", 0,
       "/dev/full: draw log write failed, logging stops: No space left on device"},
      // Screenshots that cannot be written: a full disk, a FIFO at the path.
      {"--dir . --screenshot 5:shot.png", "FAULT_WRITE_ENOSPC=shot.png", 0,
       "/shot.png: writing failed: No space left on device"},
      {"--dir . --screenshot 5:fifo.png", "", 0,
       "/fifo.png: a FIFO is there, not a regular file; it is left alone"},
      // Input without end.
      {"--headless --script /dev/zero", "", 2, "cannot read the input script: it is larger than"},
      // Controller mappings SDL would take minutes to add.
      {"--dir .", "", 0, "/gamecontrollerdb.txt is larger than 1 MiB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    BinaryRun run;
    ASSERT_EQ(::mkdir(run.Path("locked").c_str(), 0), 0);
    ASSERT_EQ(::mkdir(run.Path("folder").c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(run.Path("fifo.png").c_str(), 0600), 0);
    run.Write("shot.png", "precious");
    run.Write("gamecontrollerdb.txt", std::string((1 << 20) + 1, '#'));
    const RunResult result = RunGame(run, std::string("--max-frames 30 ") + c.arguments, c.faults);
    EXPECT_EQ(result.exitStatus, c.status) << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err.substr(0, 4000);
    EXPECT_LT(result.err.size(), 4000u);
    EXPECT_EQ(result.err.find('\x1b'), std::string::npos);
    ::chmod(run.Path("locked").c_str(), 0700);
    // What was at a screenshot's path is as it was, and nothing of the attempt is left.
    EXPECT_EQ(ReadWholeFile(run.Path("shot.png")), "precious");
    EXPECT_EQ(fs::status(run.Path("fifo.png")).type(), fs::file_type::fifo);
    for (const auto& entry : fs::directory_iterator(run.Dir()))
      EXPECT_EQ(entry.path().filename().string().find(".png."), std::string::npos) << entry.path();
  }
}

// "--dir ." from a folder whose absolute path (5000 characters and more) is longer than the
// system takes in one piece: it can only be reached one step at a time, so the shell climbs
// down to it and starts the game there; its trace goes there too, under a relative name.
TEST(HostileRuns, TheCurrentFolderWorksWhateverTheLengthOfItsPath) {
  BinaryRun run;
  const std::string level(200, 'd');
  const std::string script = "for i in $(seq 25); do mkdir " + level + " && cd -P " + level +
                             " || exit 91; done; " TUNDREL_BINARY
                             " --headless --max-frames 30 --dir . --trace t.json && test -s t.json";
  const RunResult result = run.Run("sh", "-c '" + script + "'");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  // std::filesystem cannot take paths this long apart; rm walks the folders one by one.
  EXPECT_EQ(std::system(("rm -rf " + run.Path(level)).c_str()), 0);
}

TEST(HostileRuns, TheScreenshotKeyNeverWritesThroughAPlantedLink) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run the tests under xvfb-run)";
  BinaryRun run;
  fs::create_symlink(run.Path("victim.png"), run.Path("tundrel-0001.png"));
  run.Write("script.txt", "100 key F12 down\n150 key F12 up\n");
  const RunResult result =
      RunGame(run,
              "--max-frames 40 --dir " + run.Dir() +
                  " --script script.txt --screenshot 5:b.png --screenshot 5:c.png",
              "");
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_FALSE(fs::exists(run.Path("victim.png")));
  EXPECT_TRUE(fs::is_symlink(run.Path("tundrel-0001.png")));
  for (const char* picture : {"tundrel-0002.png", "b.png", "c.png"})
    EXPECT_EQ(ReadWholeFile(run.Path(picture)).substr(0, 8), "\x89PNG\r\n\x1a\n") << result.err;
}

}  // namespace
}  // namespace zrb
