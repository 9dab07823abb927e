// Where the data comes from and where the player's files go, installed or not: the XDG rules
// with every fallback, the pictures folder a desktop names, and the data folder found on disk.
#include "engine/platform/player_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/platform/paths.h"
#include "support/scratch_dir.h"

namespace zrb::platform {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << "x";
}

// The player's data, pictures and log folders, one line.
std::string Chosen(const PlayerFolders& folders) {
  return folders.playerData + " " + folders.pictures + " " + folders.log;
}

TEST(PlayerFolders, InstalledGameUsesTheXdgFoldersWithTheirFallbacks) {
  const Environment onlyHome{"/h", nullptr, nullptr, nullptr, nullptr};
  const std::string dirs = "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  const std::string fromHome = "/h/.local/share/g /h/Pictures/G /h/.local/state/g/";
  const struct {
    const char* what;
    Environment env;
    std::string userDirs, chosen;
  } cases[] = {
      {"every variable set", {"/h", "/d", "/s", nullptr, "/p"}, dirs, "/d/g /p/G /s/g/"},
      {"only a home", onlyHome, "", fromHome},
      {"relative values are ignored", {"/h/", "rel", "rel", nullptr, "rel"}, "", fromHome},
      {"the desktop's pictures folder", onlyHome, dirs,
       "/h/.local/share/g /h/Bilder/G /h/.local/state/g/"},
      {"an absolute one, the last line winning", onlyHome,
       "XDG_PICTURES_DIR=\"$HOME/a\"\n  XDG_PICTURES_DIR=\"/srv/pics/\"\nXDG_PICTURES_DIR=bare\n",
       "/h/.local/share/g /srv/pics/G /h/.local/state/g/"},
      {"lines the format does not allow", onlyHome,
       "XDG_PICTURES_DIR=\"~/x\"\nXDG_PICTURES_DIR=\"$HOME\nXDG_PICTURES_DIRS=\"/y\"\n"
       "XDG_PICTURES_DIR=\"$HOME/$USER\"\nXDG_PICTURES_DIR=\"/`id`\"\n",
       fromHome},
      {"escapes as xdg-user-dirs-update writes them", onlyHome,
       "XDG_PICTURES_DIR=\"$HOME/Price \\$5 \\\\ \\\"q\\\" \\a\"\n",
       "/h/.local/share/g /h/Price $5 \\ \"q\" \\a/G /h/.local/state/g/"},
      {"no home at all", {}, dirs, "  "},
  };
  testing::ScratchDir scratch;
  Touch("share/game/Media.sbx");
  fs::create_directories("bin");
  const std::string program = (scratch.Root() / "bin").string();
  const InstallLayout layout = {"Media.sbx", "../share/game", "/nonexistent", "g", "G"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const PlayerFolders folders = ChoosePlayerFolders(program, layout, c.env, c.userDirs);
    EXPECT_TRUE(folders.installed);
    EXPECT_EQ(folders.dataFolder, (scratch.Root() / "share/game").string());
    EXPECT_EQ(Chosen(folders), c.chosen);
  }
}

TEST(PlayerFolders, TheDataFileBesideTheProgramMeansABuildTree) {
  testing::ScratchDir scratch;
  fs::create_directories("bin");
  const std::string program = (scratch.Root() / "bin").string();
  const std::string elsewhere = (scratch.Root() / "abs").string();
  const InstallLayout layout = {"Media.sbx", "../nowhere", elsewhere.c_str(), "g", "G"};
  const auto choose = [&] {
    return ChoosePlayerFolders(program, layout, {"/h", "/d", "/s", nullptr, "/p"}, "");
  };
  // Nothing anywhere: the program's folder, as before there was an install.
  EXPECT_EQ(choose().dataFolder, program);
  Touch("abs/Media.sbx");  // the absolute data folder, for a program copied elsewhere
  EXPECT_EQ(choose().dataFolder, elsewhere);
  EXPECT_TRUE(choose().installed);

  // An unpacked copy or the build tree: its own folder wins; the player's data still goes to
  // the data home (a build tree may not be writable), pictures and log to the working and the
  // temporary folder.
  Touch("bin/Media.sbx");
  EXPECT_FALSE(choose().installed);
  EXPECT_EQ(choose().dataFolder, program);
  EXPECT_EQ(Chosen(choose()), "/d/g  ");

  fs::remove("bin/Media.sbx");
  fs::create_directory("bin/Media.sbx");  // a folder of that name is no data file
  EXPECT_EQ(choose().dataFolder, elsewhere);
}

TEST(PlayerFolders, InstalledFoldersAreMadeWhenUsedAndKeptPrivate) {
  testing::ScratchDir scratch;
  PlayerFolders folders{true, "", "", (scratch.Root() / "Pictures/Game").string(),
                        (scratch.Root() / "state/game/").string()};
  SetPlayerFolders(folders);
  EXPECT_EQ(LogFolder(), folders.log);
  EXPECT_EQ(fs::status(folders.log).permissions(), fs::perms::owner_all);
  EXPECT_FALSE(fs::exists(folders.pictures));  // only once a picture is taken
  EXPECT_EQ(ScreenshotFolder(), folders.pictures + "/");
  EXPECT_TRUE(fs::is_directory(folders.pictures));

  // A log folder that cannot be made leaves the log in the temporary folder.
  std::ofstream("file") << "x";
  folders.log = (scratch.Root() / "file/state/").string();
  SetPlayerFolders(folders);
  EXPECT_EQ(LogFolder(), TemporaryDirectory());

  SetPlayerFolders({});
  EXPECT_EQ(ScreenshotFolder(), "");
}

}  // namespace
}  // namespace zrb::platform
