// The plain file calls whose system interfaces differ between POSIX and Windows, under one
// name each (file_calls_posix.cpp, file_calls_windows.cpp). Paths are UTF-8; a failure leaves
// its reason in errno, as the C library's calls do.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/platform/unique_fd.h"

namespace zrb::platform {

// A new file at `path` for writing, created exclusively and never through a link: whatever has
// the name already is a failure (EEXIST). `mode` is its POSIX permission bits.
UniqueFd CreateExclusiveFile(const std::string& path, unsigned mode);
// A file for writing that the game names (the file channels): `append` keeps what it holds and
// writes after it; otherwise the name is removed first and the file created empty, readable too.
UniqueFd OpenFileForWriting(const std::string& path, bool append);
// Any file for reading, a pipe too; a folder is refused (EISDIR).
UniqueFd OpenFileForReading(const std::string& path);
// `count` bytes from `offset`, without moving the file's position; false when they are not all
// there.
bool ReadFileAt(int fd, int64_t offset, void* buffer, size_t count);
// The file's bytes are on the disk.
bool SyncFile(int fd);
// Takes the file's exclusive lock without waiting; false when another holds it (EWOULDBLOCK).
bool TryLockFile(int fd);
bool RemoveFile(const std::string& path);
// Gives `from` the name `to`, replacing a file there (a link there is replaced, not followed).
bool RenameFile(const std::string& from, const std::string& to);
// Whether this process may create files in `folder`.
bool FolderIsWritable(const std::string& folder);

// A folder held open so that it is entered as it was checked (--dir): a handle, with the
// path it was opened by.
UniqueFd HoldFolder(const std::string& path);
// Makes the held folder the working folder; `checkOnly` only checks that it can be entered
// and stays where it was.
bool EnterHeldFolder(const UniqueFd& folder, const std::string& path, bool checkOnly = false);

}  // namespace zrb::platform
