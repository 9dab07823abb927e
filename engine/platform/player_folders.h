// Where a program's data comes from and where its player's files go.
//
// Run from its build tree or an unpacked folder, a program finds its data file beside itself
// and keeps everything in its working folder, as it always has. Installed, it finds the data
// file in the data folder compiled into it and keeps the player's files in the player's own
// folders (the XDG base directories), so a read-only or shared install is never written to,
// not even by root.
#pragma once

#include <string>
#include <string_view>

namespace zrb::platform {

// What a program knows about its installed layout. A program without one (tests, tools)
// always runs as from its build tree.
struct InstallLayout {
  const char* dataFile = nullptr;               // marks the data folder: "Media.sbx"
  const char* dataFolderFromProgram = nullptr;  // relative to the program's folder
  const char* dataFolder = nullptr;             // absolute, for a program copied elsewhere
  const char* folderName = nullptr;             // subfolder of the player's data and state folders
  const char* picturesFolderName = nullptr;     // subfolder of the player's pictures folder
};

// The environment the rules read; null for an unset variable.
struct Environment {
  const char* home = nullptr;
  const char* xdgDataHome = nullptr;
  const char* xdgStateHome = nullptr;
  const char* xdgConfigHome = nullptr;
  const char* xdgPicturesDir = nullptr;

  static Environment Current();
};

// An XDG base folder: `value` when it is an absolute path (the rules ignore relative ones),
// else $HOME/underHome, else "" (nowhere to keep anything).
std::string XdgBaseFolder(const char* value, const char* home, std::string_view underHome);

// Where a player's programs keep their data: $XDG_DATA_HOME, else ~/.local/share (on Windows
// the roaming application data folder, %APPDATA%); "" when there is none.
std::string PlayerDataHome();
// The player's pictures folder: $XDG_PICTURES_DIR when absolute, else the XDG_PICTURES_DIR
// line of user-dirs.dirs (`userDirsText`, as desktops write it: "$HOME/Bilder" or absolute),
// else $HOME/Pictures; "" without a home.
std::string UserPicturesFolder(const Environment& env, std::string_view userDirsText);

// The folder holding layout.dataFile: the program's own folder, then the data folder relative
// to it, then the absolute one. "" when none holds it.
std::string FindDataFolder(const std::string& programFolder, const InstallLayout& layout);

struct PlayerFolders {
  bool installed = false;  // the data came from the data folder, not the program's own
  std::string dataFolder;  // the run's working folder unless --dir names another
  std::string playerData;  // $XDG_DATA_HOME/<name>: settings and preferences ("" no home)
  std::string pictures;    // $XDG_PICTURES_DIR/<Name>: F12 pictures ("" no home)
  std::string log;         // the log's folder, ends with "/"; "": the temporary folder
};

// The rules above applied: installed when the data file is not beside the program but in the
// data folder. Not installed, `pictures` is "" (the working folder) and `log` "" (the temporary
// folder).
PlayerFolders ChoosePlayerFolders(const std::string& programFolder, const InstallLayout& layout,
                                  const Environment& env, std::string_view userDirsText);

// user-dirs.dirs of the player's configuration folder; "" when there is none. Reads only a
// regular file, and at most 64 KiB of it.
std::string ReadUserDirsFile(const Environment& env);

// The process's folders, chosen once at start-up. Until then (and for a program without an
// install layout): not installed, the log in the temporary folder. An installed program's log
// folder is created here, for the player alone; when it cannot be, the log stays in the
// temporary folder, which standard error is told.
void SetPlayerFolders(PlayerFolders folders);
const PlayerFolders& CurrentPlayerFolders();
bool RunsInstalled();

// Where the log goes, ending with "/".
std::string LogFolder();

// Where F12 pictures go, ending with "/", the folder created when missing (when it cannot be,
// the log's folder); "" for the working folder (a program run from its build tree).
std::string ScreenshotFolder();

// Creates `path` and the folders above it that are missing, each new one with `mode`. True
// when the folder exists afterwards; otherwise `problem` (when given) says why. Run as root
// (sudo keeps the player's HOME), it creates no folder inside one owned by another user: a
// root-owned ~/.local would lock the player out of it.
bool MakeFolders(const std::string& path, unsigned mode, std::string* problem = nullptr);

}  // namespace zrb::platform
