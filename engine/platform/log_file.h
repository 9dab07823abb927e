// The start-up and shutdown log, "ErrorLog.txt" in the temporary directory (an installed
// program's: in the player's state folder, player_folders.h). Each line ends
// with CR LF. The file may be held by another program for a moment (a viewer, an editor);
// a line is tried 5 times, 10 ms apart, then dropped.
#pragma once

#include <string>
#include <string_view>

namespace zrb::platform {

std::string LogFilePath();

void DeleteLogFile();

// False when the line had to be dropped.
bool AppendLogLine(std::string_view text);

}  // namespace zrb::platform
