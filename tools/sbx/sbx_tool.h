// The sbx commands and the pieces they share.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/archive_format.h"
#include "engine/files/byte_source.h"

namespace sbx {

// Exit statuses.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;  // bad or damaged archive, unreadable input, failed write
inline constexpr int kUsage = 2;   // wrong command line

using Arguments = std::vector<std::string_view>;

int Pack(const Arguments& args);
int List(const Arguments& args);
int Extract(const Arguments& args);
int Verify(const Arguments& args);

// Prints "sbx: <message>" to standard error and gives the status back.
int Fail(int status, std::string_view message);

// A stored name or a path as output shows it: whole (names are at most 255 bytes), every
// control byte escaped, so that a name can neither drive the terminal nor forge a line.
std::string Shown(std::string_view name);

struct OpenArchive {
  std::unique_ptr<zrb::files::ByteSource> source;
  zrb::files::archive::Layout layout;
};
// Opens an archive and checks its trailer and directory offset; on failure prints why and
// leaves `source` empty.
OpenArchive OpenArchiveOrReport(std::string_view path);

// Puts `bytes` at `path` the way the game stores its files (zrb::platform::ReplaceFile): an
// exclusive temporary file beside it, never opened through a link, written, synced and renamed
// over the path, so a failed or interrupted write never leaves a half-written file there.
bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error);

}  // namespace sbx
