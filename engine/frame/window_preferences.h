// The player's preferences the engine keeps between runs: for now the window scale the player
// last resized the window to. A small text file, "preferences.txt", beside the game's settings;
// one "name value" line per preference.
#pragma once

#include <string>

namespace zrb::frame {

inline constexpr const char* kPreferencesFileName = "preferences.txt";

// Where the file lives: in the working folder when the program runs from its build tree or an
// unpacked folder and may write there (where its settings go too), else in the player's data
// folder. "" when there is nowhere to keep it.
std::string PreferencesPath(bool installed, const std::string& workingFolder,
                            const std::string& playerDataFolder);

// The stored window scale, 1 to the largest window scale; 0 when the file is missing, is not a
// regular file, or holds no usable "window-scale" line.
int ReadWindowScale(const std::string& path);

// Replaces the file with one holding `scale`, creating its folder when missing. The new text
// goes into a fresh file beside it that is renamed over the old one, so neither a planted link
// nor an interrupted write can harm anything. False, with a line on standard error and in the
// log, when it could not be stored.
bool WriteWindowScale(const std::string& path, int scale);

}  // namespace zrb::frame
