// <windows.h> first: the other system headers build on its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>

#include "engine/platform/file_calls.h"
#include "engine/platform/windows_text.h"

namespace zrb::platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE HandleOf(int fd) {
  return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

UniqueFd Opened(HANDLE handle, int flags) {
  if (handle == INVALID_HANDLE_VALUE) {
    FailWithLastError();
    return {};
  }
  return UniqueFd(DescriptorFor(handle, flags));
}

}  // namespace

UniqueFd CreateExclusiveFile(const std::string& path, unsigned) {
  // CREATE_NEW fails on any name already taken, a link or junction too, and never follows one.
  return Opened(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr),
                0);
}

UniqueFd OpenFileForWriting(const std::string& path, bool append) {
  const std::wstring name = Wide(path);
  if (append) {
    UniqueFd fd = Opened(::CreateFileW(name.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr),
                         0);
    if (fd && ::_lseeki64(fd.Get(), 0, SEEK_END) < 0) fd.Reset();
    return fd;
  }
  ::DeleteFileW(name.c_str());
  return Opened(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
                0);
}

UniqueFd OpenFileForReading(const std::string& path) {
  const std::wstring name = Wide(path);
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    errno = EISDIR;
    return {};
  }
  return Opened(::CreateFileW(name.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                _O_RDONLY);
}

bool ReadFileAt(int fd, int64_t offset, void* buffer, size_t count) {
  if (offset < 0) return false;
  auto* out = static_cast<unsigned char*>(buffer);
  size_t done = 0;
  while (done < count) {
    OVERLAPPED at{};
    const uint64_t position = static_cast<uint64_t>(offset) + done;
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    DWORD got = 0;
    const DWORD asked = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    if (!::ReadFile(HandleOf(fd), out + done, asked, &got, &at) || got == 0) return false;
    done += got;
  }
  return true;
}

bool SyncFile(int fd) {
  return ::FlushFileBuffers(HandleOf(fd)) || FailWithLastError();
}

bool TryLockFile(int fd) {
  OVERLAPPED whole{};
  if (::LockFileEx(HandleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                   MAXDWORD, &whole)) {
    return true;
  }
  errno = EWOULDBLOCK;
  return false;
}

bool RemoveFile(const std::string& path) {
  return ::DeleteFileW(Wide(path).c_str()) || FailWithLastError();
}

bool RenameFile(const std::string& from, const std::string& to) {
  return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
         FailWithLastError();
}

// The folder's attributes do not tell (Program Files is not read-only, its permissions keep
// players out): a file is made there and goes again at once.
bool FolderIsWritable(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  const std::string probe = (folder.empty() ? std::string(".") : folder) + "/.write-test-" +
                            std::to_string(::GetCurrentProcessId()) + "-" +
                            std::to_string(counter++);
  const HANDLE file = ::CreateFileW(
      Wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FailWithLastError();
  ::CloseHandle(file);
  return true;
}

UniqueFd HoldFolder(const std::string& path) {
  const HANDLE folder = ::CreateFileW(Wide(path).c_str(), FILE_LIST_DIRECTORY, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) {
    FailWithLastError();
    return {};
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(folder, &info) ||
      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::CloseHandle(folder);
    errno = ENOTDIR;
    return {};
  }
  return UniqueFd(DescriptorFor(folder, _O_RDONLY));
}

bool EnterHeldFolder(const UniqueFd& folder, const std::string& path, bool checkOnly) {
  if (!folder) return false;
  wchar_t here[MAX_PATH * 4] = {};
  const DWORD length = ::GetCurrentDirectoryW(MAX_PATH * 4, here);
  if (!::SetCurrentDirectoryW(Wide(path).c_str())) return FailWithLastError();
  if (checkOnly && length > 0 && length < MAX_PATH * 4) ::SetCurrentDirectoryW(here);
  return true;
}

}  // namespace zrb::platform
