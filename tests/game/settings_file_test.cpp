#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "game/settings_file.h"
#include "game/state.h"

namespace tundrel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Each test runs in a fresh working folder.
class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tundrel_settings_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    previous_ = fs::current_path();
    fs::current_path(dir_);
    SetDefaultSettings();
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }

  static void Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  static Bytes Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static SettingsLocation Here() { return FindSettingsLocation(true, nullptr, nullptr); }

  fs::path dir_;
  fs::path previous_;
};

TEST_F(SettingsFileTest, MissingFileIsNotAnError) {
  highScore = 3;
  EXPECT_FALSE(ReadSettingsFile(Here()));
  EXPECT_EQ(highScore, 3);
}

// What a save makes of what it finds: a stray folder under an old fixed temporary name is no
// obstacle, a folder at the name is left alone, a missing data folder is made (but not by root
// in another user's home), and a higher score that another game stored meanwhile is kept.
TEST_F(SettingsFileTest, TheSaveMakesTheRightFileOfWhatItFinds) {
  const Bytes stored = {0, 1, 0, 0, 0xF4, 1, 0, 0, 0, 0, 0, 0};  // high score 500
  const struct {
    const char* what;
    const char* path;
    std::function<void()> meanwhile;
    bool saved;
    Bytes after;  // at path; empty: nothing there
  } cases[] = {
      {"a stray folder",
       "settings.cfg",
       [] { fs::create_directory("settings.cfg.new"); },
       true,
       {1, 1, 0, 1, 0x58, 2, 0, 0, 0, 0, 0, 0}},
      {"another game stored a higher score",
       "settings.cfg",
       [] {
         Write("settings.cfg", {0, 0, 1, 0, 0xBC, 2, 0, 0, 1, 0, 0, 0});
       },
       true,
       {1, 1, 0, 1, 0xBC, 2, 0, 0, 0, 0, 0, 0}},
      {"another game stored a lower one",
       "settings.cfg",
       [] {
         Write("settings.cfg", {0, 0, 1, 0, 0x2C, 1, 0, 0, 1, 0, 0, 0});
       },
       true,
       {1, 1, 0, 1, 0x58, 2, 0, 0, 0, 0, 0, 0}},
      {"no data folder yet",
       "data/tundrel/settings.cfg",
       [] {},
       true,
       {1, 1, 0, 1, 0x58, 2, 0, 0, 0, 0, 0, 0}},
      {"root in another user's home",
       "home/.local/share/tundrel/settings.cfg",
       [] {
         fs::create_directory("home");
         (void)::chown("home", 65534, 65534);
       },
       ::geteuid() != 0,
       {}},
      {"a folder at the name",
       "settings.cfg",
       [] {
         fs::remove("settings.cfg");
         fs::create_directory("settings.cfg");
       },
       false,
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Write("settings.cfg", stored);
    ASSERT_TRUE(ReadSettingsFile(Here()));
    fullScreen = easyMode = 1;
    highScore = 600;
    c.meanwhile();
    EXPECT_EQ(WriteSettingsFile(c.path), c.saved);
    if (!c.after.empty()) {
      EXPECT_EQ(Read(c.path), c.after);
    }
    if (!c.saved) {
      EXPECT_FALSE(fs::is_regular_file(c.path));
    }
  }
  EXPECT_TRUE(fs::is_directory("settings.cfg.new"));
  EXPECT_TRUE(fs::is_directory("settings.cfg"));
  EXPECT_TRUE(::geteuid() != 0 || !fs::exists("home/.local")) << "made by root";
}

TEST_F(SettingsFileTest, ReadsTheFirstCompleteFileInOrder) {
  fs::create_directories("data/tundrel");
  Write("settings.cfg", {0, 1, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0});
  const SettingsLocation location = FindSettingsLocation(false, (dir_ / "data").c_str(), "/none");
  EXPECT_TRUE(ReadSettingsFile(location));
  EXPECT_EQ(highScore, 9);  // nothing in the data folder yet: the file beside the game

  Write("data/tundrel/settings.cfg", {0, 1, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_TRUE(ReadSettingsFile(location));
  EXPECT_EQ(highScore, 8);

  Write("data/tundrel/settings.cfg", {0, 1, 0});  // a cut file there does not hide the other
  EXPECT_TRUE(ReadSettingsFile(location));
  EXPECT_EQ(highScore, 9);
}

TEST(SettingsLocation, InstalledGameUsesTheUsersDataFolderFirst) {
  SettingsLocation location = FindSettingsLocation(false, "/xdg", "/home/p");
  EXPECT_EQ(location.writePath, "/xdg/tundrel/settings.cfg");
  EXPECT_EQ(location.readOrder,
            (std::vector<std::string>{"/xdg/tundrel/settings.cfg", "settings.cfg"}));

  for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/dir"}) {
    location = FindSettingsLocation(false, xdg, "/home/p");
    EXPECT_EQ(location.writePath, "/home/p/.local/share/tundrel/settings.cfg");
  }
}

TEST(SettingsLocation, WithoutAnyHomeOnlyTheFileBesideTheGameIsRead) {
  const SettingsLocation location = FindSettingsLocation(false, nullptr, "");
  EXPECT_EQ(location.writePath, "");
  EXPECT_EQ(location.readOrder, std::vector<std::string>{"settings.cfg"});
}

}  // namespace
}  // namespace tundrel
