// The remembered window scale: what a preferences file may hold, where it lives, and a write
// that neither follows a planted link nor leaves a half-written file.
#include "engine/frame/window_preferences.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"

namespace zrb::frame {
namespace {

namespace fs = std::filesystem;

TEST(WindowPreferences, OnlyAWholeScaleOnItsOwnLineCounts) {
  const struct {
    std::string text;
    int scale;
  } cases[] = {
      // clang-format off
      {"window-scale 3\n", 3}, {"  window-scale\t2 \r\n", 2}, {"window-scale 8", 8},
      {"# a comment\nother 5\nwindow-scale 1\n", 1},
      {"window-scale 2\nwindow-scale 4\n", 4},  // the last one holds
      {"window-scale 9\n", 0}, {"window-scale 0\n", 0}, {"window-scale -2\n", 0},
      {"window-scale 2x\n", 0}, {"window-scale2\n", 0}, {"window-scale\n", 0}, {"", 0},
      {std::string(5000, 'w'), 0},
      // clang-format on
  };
  testing::TempFolder dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::ofstream(dir.Path("preferences.txt")) << c.text;
    EXPECT_EQ(ReadWindowScale(dir.Path("preferences.txt")), c.scale);
  }
  EXPECT_EQ(ReadWindowScale(dir.Path("missing.txt")), 0);
  ASSERT_EQ(mkfifo(dir.Path("fifo").c_str(), 0600), 0);
  EXPECT_EQ(ReadWindowScale(dir.Path("fifo")), 0);  // returns at once instead of waiting
}

TEST(WindowPreferences, LivesBesideTheSettingsAndIsNeverWrittenThroughALink) {
  // A link planted at the file's unfinished name, and the file itself a link to something else.
  testing::TempFolder dir;
  const std::string file = dir.Path("data/preferences.txt");
  std::ofstream(dir.Path("victim")) << "keep";
  fs::create_directories(dir.Path("data"));
  fs::create_symlink(dir.Path("victim"), file + ".new");
  fs::create_symlink(dir.Path("victim"), file);
  ASSERT_TRUE(WriteWindowScale(file, 3));
  EXPECT_EQ(fs::file_size(dir.Path("victim")), 4u);  // still "keep"
  EXPECT_EQ(fs::symlink_status(file).type(), fs::file_type::regular);
  EXPECT_FALSE(fs::exists(file + ".new"));
  EXPECT_EQ(ReadWindowScale(file), 3);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(static_cast<mode_t>(fs::status(file).permissions()), 0644 & ~mask);  // as the settings

  // A folder that is missing is made; one that cannot be made is reported, not fatal.
  EXPECT_TRUE(WriteWindowScale(dir.Path("new/deeper/preferences.txt"), 2));
  EXPECT_EQ(ReadWindowScale(dir.Path("new/deeper/preferences.txt")), 2);
  EXPECT_FALSE(WriteWindowScale(dir.Path("victim/preferences.txt"), 2));

  // It lives beside the settings: in a working folder that can be written to unless installed.
  const std::string here = dir.Path("");
  EXPECT_EQ(PreferencesPath(false, here, "/d/game"), here + "/preferences.txt");
  EXPECT_EQ(PreferencesPath(true, here, "/d/game"), "/d/game/preferences.txt");
  EXPECT_EQ(PreferencesPath(false, here + "/missing", "/d/game"), "/d/game/preferences.txt");
  EXPECT_EQ(PreferencesPath(true, here, ""), "");
}

}  // namespace
}  // namespace zrb::frame
