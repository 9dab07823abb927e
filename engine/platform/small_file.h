// Reading a small file the player or a distributor may have put in place (a preference, a
// list of controller mappings): a regular file only, opened without blocking, so that a FIFO
// or a device in its place cannot stall the program, and never more than asked for.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace zrb::platform {

// The file's first `maxBytes` bytes; nothing when it is missing, unreadable or not a regular
// file. `truncated`, when given, tells whether the file held more.
std::optional<std::string> ReadSmallFile(const std::string& path, size_t maxBytes,
                                         bool* truncated = nullptr);

}  // namespace zrb::platform
