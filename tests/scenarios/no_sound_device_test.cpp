// The game in a real window with a sound device that cannot be opened: the player reads one
// line about it, and what the sound driver had to say is in the log instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "run_binary.h"

namespace zrb::testing {
namespace {

TEST(NoSoundDevice, OneLineOnStandardErrorAndTheDriversTextInTheLog) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run the tests under xvfb-run)";
  BinaryRun run;
  std::filesystem::create_symlink(std::filesystem::path(TUNDREL_BINARY).parent_path() / "Media.sbx",
                                  run.Path("Media.sbx"));
  // ALSA cannot open a card that is not there, and says so on standard error at length. What
  // it allocated for that card it keeps, and a sanitizer build would report it on standard
  // error too: ALSA's, not ours, so leaks are not looked for here.
  const RunResult result =
      run.Run(TUNDREL_BINARY, "--dir " + run.Dir() + " --max-frames 20",
              "SDL_AUDIODRIVER=alsa AUDIODEV=hw:99 ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\"");
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err.rfind("tundrel: no sound device (", 0), 0u) << result.err;
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
  EXPECT_NE(run.Log().find("Sound driver: ALSA lib"), std::string::npos) << run.Log();
  EXPECT_NE(run.Log().find("Init Finalized"), std::string::npos);
}

}  // namespace
}  // namespace zrb::testing
