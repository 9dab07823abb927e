// How the program opens, replaces and creates the files it keeps between runs (settings, log,
// screenshots) and reads its media, in folders it may share with other users: nothing here
// blocks on a FIFO, follows a link planted where a new file goes, or leaves a half-written
// file in place of a good one. Any folder can be handed to these; none is chosen here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/platform/unique_fd.h"

namespace zrb::platform {

enum class OpenOutcome {
  kOpened,
  kMissing,         // nothing by that name (or a folder on the way is missing)
  kNotRegularFile,  // a FIFO, device, socket or folder: never read from
  kCannotRead,      // it exists but may not be read (permissions, input/output error, ...)
};

struct OpenedFile {
  UniqueFd fd;  // open for reading when the outcome is kOpened
  OpenOutcome outcome = OpenOutcome::kMissing;
  std::string problem;  // what stood in the way, for a message; "" when opened or missing
  bool folder = false;  // kNotRegularFile because a folder has the name
};

// Opens an existing regular file for reading, following symbolic links as any reader would.
// Never waits: a FIFO without a writer, a device or a socket at the path is refused without a
// byte read from it.
OpenedFile OpenRegularFile(const std::string& path);

// Puts `bytes` at `path` so that, whatever happens meanwhile (a full disk, a kill, a power
// cut), the path holds either its old file or the new one, whole: a fresh temporary file is
// created exclusively beside it, every write is checked, the file is synced, renamed over the
// path, and the folder is synced. A symbolic link at the path is replaced, not followed;
// anything else that is not a regular file is refused. Temporary files that runs killed in the
// middle of a save left beside the path are removed first. False with the reason in
// `problem`; the old file is then untouched and nothing of this call is left behind.
bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes, std::string* problem);

// ReplaceFile for a file that others may store at the same time (two games in one folder):
// the new bytes are made by `make` from the file as it is now (its first `maxBytes` bytes;
// nothing when it is missing or cannot be read), and from that read to the rename the folder
// is locked, so that programs storing the file take turns. A lock another program keeps for
// more than two seconds is not waited for any longer.
bool UpdateFile(const std::string& path, size_t maxBytes,
                const std::function<std::vector<uint8_t>(const std::optional<std::string>&)>& make,
                std::string* problem);

enum class CreateOutcome { kCreated, kNameTaken, kFailed };

// Like ReplaceFile, but only where nothing has the name yet: an existing file, folder or
// link, even a dangling one, gives kNameTaken and is left alone.
CreateOutcome CreateNewFile(const std::string& path, std::span<const uint8_t> bytes,
                            std::string* problem);

enum class AppendOutcome {
  kOpened,
  kNotOurs,  // a link, FIFO, folder, a file of another user or with other names: not written
  kFailed,   // the folder is missing, read-only, full, ...
};

struct AppendFile {
  UniqueFd fd;
  AppendOutcome outcome = AppendOutcome::kFailed;
  std::string problem;
};

// Opens `path` for appending, creating it when missing, only if it then is a regular file of
// this user's with no other name: a link or FIFO that another user put there can neither
// redirect the writes nor block the program.
AppendFile OpenOwnFileForAppending(const std::string& path);

// Creates a new empty file `prefix` + six random letters or digits + `suffix` in `folder`,
// exclusively and without following links. Empty handle, with the reason, when none could be
// made; otherwise `path` receives its path.
UniqueFd CreateUniqueFile(const std::string& folder, const std::string& prefix,
                          const std::string& suffix, std::string* path, std::string* problem);

// Removes `path` only if it is this user's own (of any kind but a folder): a file another
// user planted is none of the program's business.
void RemoveOwnFile(const std::string& path);

}  // namespace zrb::platform
