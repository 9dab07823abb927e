// settings.cfg: the options and the high score between runs.
//
// Twelve bytes, little-endian: fullScreen, soundOn, scanlinesOn, easyMode as signed bytes,
// then highScore and joypadEnabled as signed 32-bit numbers.
#pragma once

#include <string>
#include <vector>

namespace tundrel {

// Reads the settings (or takes the defaults) and sets the screen mode they ask for.
void LoadSettings();
// Stores the settings; the old file stays whole until the new one is complete.
void SaveSettings();
// The settings this run starts from go into its replay.
void KeepSettingsInReplay();
// A game in a browser page never reaches its end (the player closes the tab), so there the
// settings are also stored whenever they may have changed: after a game and after the
// settings menu. The desktop program stores them only when it ends; this does nothing there.
void SaveSettingsInBrowser();

inline constexpr int kSettingsFileBytes = 12;

// Where the settings file is read and written. A game run from a folder it may write to (the
// build tree, an unpacked copy) keeps "settings.cfg" there. An installed game (or one whose
// folder is not writable) keeps it in the user's data folder, reads that one first and falls
// back to a settings.cfg in its data folder.
struct SettingsLocation {
  std::vector<std::string> readOrder;  // names for the file channels, first match wins
  std::string writePath;               // "" when there is nowhere to store it
};
// dataHome is the player's data folder (platform::PlayerDataHome), "" when there is none.
SettingsLocation FindSettingsLocation(bool workingDirectoryWritable, const std::string& dataHome);
// The location for this process: installed or not, the current directory's writability and
// the environment.
SettingsLocation CurrentSettingsLocation();

// The settings of a first run.
void SetDefaultSettings();
// Reads the first file of readOrder that holds at least 12 bytes into the settings. False,
// with the settings untouched, when there is none: a shorter file is ignored and will be
// replaced at the next save. A file that exists but cannot be read (no permission, a FIFO)
// is reported, skipped, and kept: WriteSettingsFile will not replace it.
bool ReadSettingsFile(const SettingsLocation& location);
// Stores the 12 bytes at path through a synced temporary file beside it that is renamed over
// the old one once complete (zrb::platform::ReplaceFile), creating the folder when needed.
// False, with a message, when the file could not be stored; the old file is then whole.
bool WriteSettingsFile(const std::string& path);

}  // namespace tundrel
