// The remembered window scale: what a preferences file may hold, where it lives, and a write
// that neither follows a planted link nor leaves a half-written file.
#include "engine/frame/window_preferences.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zrb::frame {
namespace {

namespace fs = std::filesystem;

class WindowPreferencesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/prefsXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(dir_, error);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path dir_;
};

TEST_F(WindowPreferencesTest, OnlyAWholeScaleOnItsOwnLineCounts) {
  const struct {
    std::string text;
    int scale;
  } cases[] = {
      {"window-scale 3\n", 3},
      {"  window-scale\t2 \r\n", 2},
      {"# a comment\nother 5\nwindow-scale 1\n", 1},
      {"window-scale 2\nwindow-scale 4\n", 4},  // the last one holds
      {"window-scale 8", 8},
      {"window-scale 9\n", 0},
      {"window-scale 0\n", 0},
      {"window-scale -2\n", 0},
      {"window-scale 2x\n", 0},
      {"window-scale2\n", 0},
      {"window-scale\n", 0},
      {"", 0},
      {std::string(5000, 'w'), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Write("preferences.txt", c.text);
    EXPECT_EQ(ReadWindowScale(Path("preferences.txt")), c.scale);
  }
  EXPECT_EQ(ReadWindowScale(Path("missing.txt")), 0);
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  EXPECT_EQ(ReadWindowScale(Path("fifo")), 0);  // returns at once instead of waiting
}

TEST_F(WindowPreferencesTest, WritingReplacesTheFileAndNeverWritesThroughALink) {
  // A link planted at the file's unfinished name, and the file itself a link to something else.
  Write("victim", "keep");
  fs::create_directories(dir_ / "data");
  fs::create_symlink(dir_ / "victim", dir_ / "data/preferences.txt.new");
  fs::create_symlink(dir_ / "victim", dir_ / "data/preferences.txt");

  ASSERT_TRUE(WriteWindowScale(Path("data/preferences.txt"), 3));
  EXPECT_EQ(Read("victim"), "keep");
  EXPECT_FALSE(fs::is_symlink(dir_ / "data/preferences.txt"));
  EXPECT_FALSE(fs::exists(dir_ / "data/preferences.txt.new"));
  EXPECT_EQ(Read("data/preferences.txt"), "window-scale 3\n");
  EXPECT_EQ(ReadWindowScale(Path("data/preferences.txt")), 3);

  // A folder that is missing is made; one that cannot be made is reported, not fatal.
  EXPECT_TRUE(WriteWindowScale(Path("new/deeper/preferences.txt"), 2));
  EXPECT_EQ(ReadWindowScale(Path("new/deeper/preferences.txt")), 2);
  EXPECT_FALSE(WriteWindowScale(Path("victim/preferences.txt"), 2));
}

TEST_F(WindowPreferencesTest, LivesBesideTheSettings) {
  const std::string here = dir_.string();
  EXPECT_EQ(PreferencesPath(false, here, "/d/game"), here + "/preferences.txt");
  EXPECT_EQ(PreferencesPath(true, here, "/d/game"), "/d/game/preferences.txt");
  EXPECT_EQ(PreferencesPath(false, here + "/missing", "/d/game"), "/d/game/preferences.txt");
  EXPECT_EQ(PreferencesPath(true, here, ""), "");
}

}  // namespace
}  // namespace zrb::frame
