// Where the program lives and where temporary files go. No SDL needed for these.
#pragma once

#include <string>

namespace zrb::platform {

// Full path of the running executable ("/proc/self/exe" resolved).
std::string ExecutablePath();

// The executable's folder, without a trailing slash.
std::string ExecutableDirectory();

// $TMPDIR when it is set and not empty, else "/tmp"; always ends with "/".
std::string TemporaryDirectory();

}  // namespace zrb::platform
