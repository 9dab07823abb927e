#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "game/replay_files.h"
#include "game/settings_file.h"
#include "game/state.h"
#include "support/scratch_dir.h"

namespace tundrel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Each test runs in a fresh working folder.
class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDefaultSettings(); }

  static void Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  static Bytes Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static SettingsLocation Here() { return FindSettingsLocation(true, ""); }

  zrb::testing::ScratchDir scratch_;
  const fs::path dir_ = scratch_.Root();
};

// What a save makes of what it finds: a stray folder under an old fixed temporary name is no
// obstacle, a folder at the name is left alone, a missing data folder is made (but not by root
// in another user's home), and a higher score that another game stored meanwhile is kept.
TEST_F(SettingsFileTest, TheSaveMakesTheRightFileOfWhatItFinds) {
  const Bytes ours = {1, 1, 0, 1, 0x58, 2, 0, 0, 0, 0, 0, 0};  // high score 600
  const struct {
    const char* what;
    const char* path;
    const char* folder;  // made meanwhile
    Bytes written;       // by another game meanwhile
    bool saved;
    Bytes after;  // at path; empty: nothing there
  } cases[] = {
      // clang-format off
      {"a stray folder", "settings.cfg", "settings.cfg.new", {}, true, ours},
      {"another game stored a higher score", "settings.cfg", nullptr,
       {0, 0, 1, 0, 0xBC, 2, 0, 0, 1, 0, 0, 0}, true, {1, 1, 0, 1, 0xBC, 2, 0, 0, 0, 0, 0, 0}},
      {"no data folder yet", "data/tundrel/settings.cfg", nullptr, {}, true, ours},
      {"root in another user's home", "home/.local/share/tundrel/settings.cfg", "home", {},
       ::geteuid() != 0, ::geteuid() != 0 ? ours : Bytes{}},
      {"a folder at the name", "settings.cfg", "settings.cfg", {}, false, {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Write("settings.cfg", {0, 1, 0, 0, 0xF4, 1, 0, 0, 0, 0, 0, 0});  // high score 500
    ASSERT_TRUE(ReadSettingsFile(Here()));
    fullScreen = easyMode = 1;
    highScore = 600;
    if (c.folder) {
      fs::remove(c.folder);
      fs::create_directory(c.folder);
      (void)::chown("home", 65534, 65534);
    }
    if (!c.written.empty()) Write("settings.cfg", c.written);
    EXPECT_EQ(WriteSettingsFile(c.path), c.saved);
    EXPECT_EQ(fs::is_regular_file(c.path) ? Read(c.path) : Bytes{}, c.after);
  }
  EXPECT_TRUE(fs::is_directory("settings.cfg.new"));
  EXPECT_TRUE(::geteuid() != 0 || !fs::exists("home/.local")) << "made by root";
}

TEST_F(SettingsFileTest, ReadsTheFirstCompleteFileInOrder) {
  fs::create_directories("data/tundrel");
  const SettingsLocation location = FindSettingsLocation(false, (dir_ / "data").string());
  highScore = 3;
  EXPECT_FALSE(ReadSettingsFile(location)) << "no file is no settings, and no error";
  EXPECT_EQ(highScore, 3);
  Write("settings.cfg", {0, 1, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_TRUE(ReadSettingsFile(location));
  EXPECT_EQ(highScore, 9);  // nothing in the data folder yet: the file beside the game

  Write("data/tundrel/settings.cfg", {0, 1, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_TRUE(ReadSettingsFile(location));
  EXPECT_EQ(highScore, 8);

  Write("data/tundrel/settings.cfg", {0, 1, 0});  // a cut file there does not hide the other
  EXPECT_TRUE(ReadSettingsFile(location));
  EXPECT_EQ(highScore, 9);
}

// The XDG rules themselves (relative values, no home) are player_folders_test's.
TEST(SettingsLocation, InstalledGameUsesTheUsersDataFolderFirstAndWithoutAHomeOnlyReads) {
  SettingsLocation location = FindSettingsLocation(false, "/xdg");
  EXPECT_EQ(location.writePath, "/xdg/tundrel/settings.cfg");
  EXPECT_EQ(location.readOrder,
            (std::vector<std::string>{"/xdg/tundrel/settings.cfg", "settings.cfg"}));
  location = FindSettingsLocation(false, "");
  EXPECT_EQ(location.writePath, "");
  EXPECT_EQ(location.readOrder, std::vector<std::string>{"settings.cfg"});
}

// The replays kept beside the settings over two runs, each kept at the end of its games and of
// the run: the best before a run becomes the previous best once, when the run first beats it.
TEST_F(SettingsFileTest, KeptReplaysFollowTheLastGameAndTheBest) {
  const fs::path replays = dir_ / "replays";
  fs::create_directories(replays);
  Write(replays / kBestReplay, {'o', 'l', 'd'});
  const struct {
    bool runStarts;
    int32_t score;  // the high score when it is kept
    std::string kept, last, best, previous;
  } steps[] = {
      {true, 500, "a", "a", "old", ""},          // a game that beat nothing
      {false, 600, "ab", "ab", "ab", "old"},     // the next game sets a high score
      {false, 600, "abc", "abc", "abc", "old"},  // the run's end: the same best, longer
      {true, 600, "d", "d", "abc", "old"},       // a second run, no better
      {false, 700, "de", "de", "de", "abc"},
  };
  const auto text = [&](const char* name) {
    const Bytes bytes = Read(replays / name);
    return std::string(bytes.begin(), bytes.end());
  };
  for (const auto& step : steps) {
    highScore = step.score;
    if (step.runStarts) NoteReplayStart();
    KeepReplay(step.kept);
    EXPECT_EQ(text(kLastReplay), step.last) << step.kept;
    EXPECT_EQ(text(kBestReplay), step.best) << step.kept;
    EXPECT_EQ(text(kPreviousBestReplay), step.previous) << step.kept;
  }
}

}  // namespace
}  // namespace tundrel
