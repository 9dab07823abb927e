// Where the data comes from and where the player's files go, installed or not: the XDG rules
// with every fallback, the pictures folder a desktop names, and the data folder found on disk.
#include "engine/platform/player_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/platform/paths.h"

namespace zrb::platform {
namespace {

namespace fs = std::filesystem;

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/foldersXXXXXX";
    if (mkdtemp(pattern)) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  const fs::path& path() const { return path_; }
  void Touch(const fs::path& relative) const {
    fs::create_directories((path_ / relative).parent_path());
    std::ofstream(path_ / relative) << "x";
  }

 private:
  fs::path path_;
};

const InstallLayout kLayout = {"Media.sbx", "../share/game", "/nonexistent/share/game", "game",
                               "Game"};

TEST(PlayerFolders, InstalledGameUsesTheXdgFoldersWithTheirFallbacks) {
  struct Case {
    const char* what;
    Environment env;
    std::string userDirs;
    std::string playerData, pictures, log;
  };
  const std::string dirs = "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  const Case cases[] = {
      {"every variable set",
       {"/h", "/d", "/s", nullptr, "/p"},
       dirs,
       "/d/game",
       "/p/Game",
       "/s/game/"},
      {"only a home",
       {"/h", nullptr, nullptr, nullptr, nullptr},
       "",
       "/h/.local/share/game",
       "/h/Pictures/Game",
       "/h/.local/state/game/"},
      {"relative values are ignored",
       {"/h/", "rel", "rel", nullptr, "rel"},
       "",
       "/h/.local/share/game",
       "/h/Pictures/Game",
       "/h/.local/state/game/"},
      {"the desktop's pictures folder",
       {"/h", nullptr, nullptr, nullptr, nullptr},
       dirs,
       "/h/.local/share/game",
       "/h/Bilder/Game",
       "/h/.local/state/game/"},
      {"an absolute one, the last line winning",
       {"/h", nullptr, nullptr, nullptr, nullptr},
       "XDG_PICTURES_DIR=\"$HOME/a\"\n  XDG_PICTURES_DIR=\"/srv/pics/\"\nXDG_PICTURES_DIR=bare\n",
       "/h/.local/share/game",
       "/srv/pics/Game",
       "/h/.local/state/game/"},
      {"lines the format does not allow",
       {"/h", nullptr, nullptr, nullptr, nullptr},
       "XDG_PICTURES_DIR=\"~/x\"\nXDG_PICTURES_DIR=\"$HOME\nXDG_PICTURES_DIRS=\"/y\"\n",
       "/h/.local/share/game",
       "/h/Pictures/Game",
       "/h/.local/state/game/"},
      {"no home at all", {nullptr, nullptr, nullptr, nullptr, nullptr}, dirs, "", "", ""},
  };
  ScratchFolder scratch;
  scratch.Touch("share/game/Media.sbx");
  fs::create_directories(scratch.path() / "bin");
  const std::string program = (scratch.path() / "bin").string();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PlayerFolders folders = ChoosePlayerFolders(program, kLayout, c.env, c.userDirs);
    EXPECT_TRUE(folders.installed);
    EXPECT_EQ(folders.dataFolder, (scratch.path() / "share/game").string());
    EXPECT_EQ(folders.playerData, c.playerData);
    EXPECT_EQ(folders.pictures, c.pictures);
    EXPECT_EQ(folders.log, c.log);
  }
}

TEST(PlayerFolders, TheDataFileBesideTheProgramMeansABuildTree) {
  ScratchFolder scratch;
  const fs::path& root = scratch.path();
  fs::create_directories(root / "bin");
  const std::string program = (root / "bin").string();
  const Environment env{"/h", "/d", "/s", nullptr, "/p"};
  const std::string absoluteFolder = (root / "abs").string();
  const InstallLayout absolute = {"Media.sbx", "../nowhere", absoluteFolder.c_str(), "game",
                                  "Game"};

  // Nothing anywhere: the program's folder, as before there was an install.
  PlayerFolders folders = ChoosePlayerFolders(program, absolute, env, "");
  EXPECT_FALSE(folders.installed);
  EXPECT_EQ(folders.dataFolder, program);

  scratch.Touch("abs/Media.sbx");  // the absolute data folder, for a program copied elsewhere
  folders = ChoosePlayerFolders(program, absolute, env, "");
  EXPECT_TRUE(folders.installed);
  EXPECT_EQ(folders.dataFolder, (root / "abs").string());

  scratch.Touch("bin/Media.sbx");  // an unpacked copy or the build tree: its own folder wins
  folders = ChoosePlayerFolders(program, absolute, env, "");
  EXPECT_FALSE(folders.installed);
  EXPECT_EQ(folders.dataFolder, program);
  EXPECT_EQ(folders.playerData, "/d/game");  // for a build tree that cannot write beside itself
  EXPECT_EQ(folders.pictures, "");           // F12 pictures in the working folder
  EXPECT_EQ(folders.log, "");                // the log in the temporary folder

  fs::remove(root / "bin/Media.sbx");
  fs::create_directory(root / "bin/Media.sbx");  // a folder of that name is no data file
  folders = ChoosePlayerFolders(program, absolute, env, "");
  EXPECT_EQ(folders.dataFolder, (root / "abs").string());
}

TEST(PlayerFolders, InstalledFoldersAreMadeWhenUsedAndKeptPrivate) {
  ScratchFolder scratch;
  PlayerFolders folders;
  folders.installed = true;
  folders.log = (scratch.path() / "state/game/").string();
  folders.pictures = (scratch.path() / "Pictures/Game").string();
  SetPlayerFolders(folders);
  EXPECT_TRUE(RunsInstalled());
  EXPECT_EQ(LogFolder(), folders.log);
  struct stat info {};
  ASSERT_EQ(stat(folders.log.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_FALSE(fs::exists(folders.pictures));  // only once a picture is taken
  EXPECT_EQ(ScreenshotFolder(), folders.pictures + "/");
  EXPECT_TRUE(fs::is_directory(folders.pictures));

  // A log folder that cannot be made leaves the log in the temporary folder.
  scratch.Touch("file");
  folders.log = (scratch.path() / "file/state/").string();
  SetPlayerFolders(folders);
  EXPECT_EQ(LogFolder(), TemporaryDirectory());

  SetPlayerFolders({});
  EXPECT_FALSE(RunsInstalled());
  EXPECT_EQ(ScreenshotFolder(), "");
}

}  // namespace
}  // namespace zrb::platform
