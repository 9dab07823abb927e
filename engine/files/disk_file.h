// Plain disk files through POSIX descriptors: the one place the files module talks to the OS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/platform/unique_fd.h"

namespace zrb::files {

using platform::UniqueFd;

// Game names may separate folders with "\" as well as "/"; the disk only knows "/".
// Empty when the name cannot name a file here (it holds a zero byte).
std::string PlatformPath(std::string_view name);

// Opens an existing regular file for reading without ever waiting; anything else gives an
// empty handle. A folder of that name counts as missing; so does anything else that is not a
// regular file (a FIFO, a device) or may not be read, which says so once on standard error and
// in the log.
UniqueFd OpenExistingFile(std::string_view name);

// The most a file read whole may hold: an archive item's bound, so that a loose file beside
// the program is held to the same as one packed.
inline constexpr int64_t kMaxWholeFileBytes = int64_t{256} << 20;

// OpenExistingFile for a file that is to be read whole: a larger one than kMaxWholeFileBytes
// counts as missing too, said once on standard error and in the log, before a byte is read.
UniqueFd OpenLoadableFile(std::string_view name);

// Size of an open file, or -1.
int64_t FileSizeOf(int fd);

// Reads up to `count` bytes at the current position, retrying short reads; the count read.
size_t ReadFully(int fd, void* buffer, size_t count);
// Reads exactly `count` bytes at `offset`.
bool ReadFullyAt(int fd, int64_t offset, void* buffer, size_t count);
// Writes all `count` bytes; false on any failure or short write.
bool WriteFully(int fd, const void* buffer, size_t count);

// The whole content of a regular disk file of at most kMaxWholeFileBytes (OpenLoadableFile).
std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view name);

}  // namespace zrb::files
