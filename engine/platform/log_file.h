// The start-up and shutdown log, "ErrorLog.txt" in the temporary directory (an installed
// program's: in the player's state folder, player_folders.h). Each line ends
// with CR LF. The file may be held by another program for a moment (a viewer, an editor);
// a line is tried 5 times, 10 ms apart, then dropped. Only a regular file of this user's own
// is written: when something else has the name (another user's link, FIFO or file in a shared
// folder), the log moves to a fresh "ErrorLog-XXXXXX.txt" beside it for the rest of the
// process and standard error says so.
#pragma once

#include <string>
#include <string_view>

namespace zrb::platform {

// Where the lines go now.
std::string LogFilePath();

// Starts a new log under the usual name: the old one goes if it is this user's own; anything
// else is left alone.
void DeleteLogFile();

// False when the line had to be dropped.
bool AppendLogLine(std::string_view text);

}  // namespace zrb::platform
