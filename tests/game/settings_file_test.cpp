#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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

// Each save makes a fresh temporary name; what lies under a fixed one is not in its way.
TEST_F(SettingsFileTest, AStrayFolderUnderTheOldTemporaryNameIsNoObstacle) {
  Write("settings.cfg", {0, 1, 0, 0, 0x87, 0xD6, 0x12, 0, 0, 0, 0, 0});
  fs::create_directory("settings.cfg.new");
  highScore = 1;
  EXPECT_TRUE(WriteSettingsFile("settings.cfg"));
  EXPECT_EQ(Read("settings.cfg"), (Bytes{0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(fs::is_directory("settings.cfg.new"));
}

TEST_F(SettingsFileTest, OldFileSurvivesWhenTheNewOneCannotReplaceIt) {
  fs::create_directory("settings.cfg");  // something that cannot be replaced by a file
  EXPECT_FALSE(WriteSettingsFile("settings.cfg"));
  EXPECT_TRUE(fs::is_directory("settings.cfg"));
  EXPECT_FALSE(fs::exists("settings.cfg.new"));
}

TEST_F(SettingsFileTest, SavingCreatesTheDataFolder) {
  highScore = 42;
  const fs::path path = dir_ / "data" / "tundrel" / "settings.cfg";
  ASSERT_TRUE(WriteSettingsFile(path.string()));
  EXPECT_EQ(Read(path), (Bytes{0, 1, 0, 0, 42, 0, 0, 0, 0, 0, 0, 0}));
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
