// Command lines that name things the game cannot use: each is refused with a reason (exit
// status 2) or reported, never taken for something else in silence.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "run_binary.h"

namespace zrb {
namespace {

using zrb::testing::BinaryRun;
using zrb::testing::ReadWholeFile;
using zrb::testing::RunResult;

const std::string kShim = std::string("LD_PRELOAD=") + FAULT_SHIM;

TEST(HostileCommandLine, WhatCannotBeUsedIsRefusedOrReported) {
  struct Case {
    const char* name;
    const char* arguments;
    std::string environment;
    int status;
    const char* message;
  };
  const Case cases[] = {
      // Root enters any folder, so the shim refuses it as the system refuses a player.
      {"--dir that cannot be entered", "--dir locked", kShim + " FAULT_ENTER_EACCES=locked", 2,
       "cannot enter "},
      {"--script naming a folder", "--script folder", "", 2,
       "folder: cannot read the input script: it is a folder"},
      {"--draw-log that cannot be created", "--draw-log missing/draw.log", "", 2,
       "missing/draw.log: cannot create the draw log: No such file or directory"},
      {"--draw-log on a full disk", "--draw-log /dev/full", "", 0,
       "/dev/full: draw log write failed, logging stops: No space left on device"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BinaryRun run;
    const std::string locked = run.Path("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0), 0);
    ASSERT_EQ(::mkdir(run.Path("folder").c_str(), 0700), 0);
    const RunResult result = run.Run(
        TUNDREL_BINARY, std::string("--headless --max-frames 30 ") + c.arguments, c.environment);
    EXPECT_EQ(result.exitStatus, c.status) << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    ::chmod(locked.c_str(), 0700);
  }
}

// "--dir ." from a folder whose absolute path is longer than the system takes in one piece.
// Such a folder can only be reached one step at a time, so the game is started from there by
// hand; its trace goes there too, under a relative name.
TEST(HostileCommandLine, TheCurrentFolderWorksWhateverTheLengthOfItsPath) {
  BinaryRun run;
  const std::string level(200, 'd');
  constexpr int kLevels = 25;  // 5000 characters and more
  const std::string errPath = run.Path("stderr.txt");
  const pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(run.Dir().c_str()) != 0) _exit(90);
    for (int i = 0; i < kLevels; ++i) {
      if (::mkdir(level.c_str(), 0700) != 0 || ::chdir(level.c_str()) != 0) _exit(91);
    }
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (err < 0 || ::dup2(err, 2) < 0) _exit(92);
    ::setenv("TMPDIR", run.Dir().c_str(), 1);
    ::execl(TUNDREL_BINARY, TUNDREL_BINARY, "--headless", "--max-frames", "30", "--dir", ".",
            "--trace", "t.json", static_cast<char*>(nullptr));
    _exit(93);
  }
  int status = -1;
  ::waitpid(child, &status, 0);
  int folder = ::open(run.Dir().c_str(), O_RDONLY | O_DIRECTORY);
  for (int i = 0; i < kLevels && folder >= 0; ++i) {
    const int next = ::openat(folder, level.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(folder);
    folder = next;
  }
  struct stat trace {};
  const bool traced =
      folder >= 0 && ::fstatat(folder, "t.json", &trace, 0) == 0 && trace.st_size > 0;
  if (folder >= 0) ::close(folder);
  // std::filesystem cannot take paths this long apart; rm walks the folders one by one.
  std::system(("rm -rf " + run.Path(level)).c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << ReadWholeFile(errPath);
  EXPECT_TRUE(traced);
}

}  // namespace
}  // namespace zrb
