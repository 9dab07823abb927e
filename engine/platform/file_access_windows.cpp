// <windows.h> first: the other system headers build on its types.
#include <windows.h>
// windows.h names its own ReplaceFileA/W so; this file defines the engine's.
#undef ReplaceFile

#include <bcrypt.h>
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/platform/file_access.h"
#include "engine/platform/small_file.h"
#include "engine/platform/windows_text.h"

namespace zrb::platform {
namespace {

// Temporary files are named "<name>.new-" and six of these, beside the file they become.
constexpr const char* kUnfinishedMark = ".new-";
constexpr size_t kRandomLetters = 6;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kNameAttempts = 100;
constexpr DWORD kLockPatienceMs = 2000;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string SystemText() {
  return std::strerror(errno);
}

std::string RandomLetters() {
  unsigned char noise[kRandomLetters] = {};
  if (!BCRYPT_SUCCESS(
          ::BCryptGenRandom(nullptr, noise, sizeof noise, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    // The clock and the process still make clashes rare, and a clash only costs an attempt.
    static uint64_t counter = 0;
    uint64_t mix = static_cast<uint64_t>(::GetTickCount64()) ^
                   (static_cast<uint64_t>(::GetCurrentProcessId()) << 20) ^
                   (++counter * 2654435761u);
    for (unsigned char& c : noise) {
      mix = mix * 6364136223846793005ull + 1442695040888963407ull;
      c = static_cast<unsigned char>(mix >> 56);
    }
  }
  std::string letters;
  for (unsigned char c : noise)
    letters += kLetters[c % (sizeof kLetters - 1)];
  return letters;
}

bool IsRandomLetters(std::string_view text) {
  if (text.size() != kRandomLetters) return false;
  for (char c : text) {
    if (std::strchr(kLetters, c) == nullptr || c == '\0') return false;
  }
  return true;
}

// The folder and the last component of a path; false when the path names no file.
bool SplitPath(const std::string& path, std::string* folder, std::string* base) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  const size_t slash = path.find_last_of("/\\");
  if (slash == path.size() - 1) return false;
  *folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  *base = slash == std::string::npos ? path : path.substr(slash + 1);
  return *base != "." && *base != ".." && base->find(':') == std::string::npos;
}

std::string KindOf(DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return "a link";
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "a folder";
  return "not a regular file";
}

// What is at the name itself, a link not followed; INVALID_FILE_ATTRIBUTES when nothing.
DWORD AttributesAt(const std::string& path) {
  return ::GetFileAttributesW(Wide(path).c_str());
}

bool WriteAll(HANDLE file, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD put = 0;
    const DWORD asked = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (!::WriteFile(file, bytes.data() + done, asked, &put, nullptr)) return FailWithLastError();
    if (put == 0) {
      errno = EIO;
      return false;
    }
    done += put;
  }
  return true;
}

// Removes the temporary files of saves that never finished. A save in progress keeps its file
// open without sharing its deletion, so a file that can be opened for deleting alone is no
// living save's; it goes when that handle closes.
void RemoveUnfinished(const std::string& folder, const std::string& base) {
  const std::string prefix = base + kUnfinishedMark;
  WIN32_FIND_DATAW found{};
  const HANDLE listing = ::FindFirstFileW(Wide(folder + prefix + "*").c_str(), &found);
  if (listing == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> candidates;
  do {
    const std::string name = Utf8(found.cFileName);
    if (name.substr(0, prefix.size()) == prefix && IsRandomLetters(name.substr(prefix.size())) &&
        !(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
      candidates.push_back(name);
    }
  } while (::FindNextFileW(listing, &found));
  ::FindClose(listing);
  for (const std::string& name : candidates) {
    const HANDLE file =
        ::CreateFileW(Wide(folder + name).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                      FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  }
}

// A complete, flushed temporary file beside `base`, not yet in place.
class StagedFile {
 public:
  ~StagedFile() { Discard(); }

  bool Write(const std::string& folder, const std::string& base, std::span<const uint8_t> bytes,
             std::string* problem) {
    RemoveUnfinished(folder, base);
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < kNameAttempts && file == INVALID_HANDLE_VALUE; ++attempt) {
      path_ = folder + base + kUnfinishedMark + RandomLetters();
      // Not shared for deleting while it is written: no other save takes it for a leftover.
      file = ::CreateFileW(Wide(path_).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) {
      FailWithLastError();
      *problem = "cannot create a temporary file beside it: " + SystemText();
      path_.clear();
      return false;
    }
    const bool written = WriteAll(file, bytes);
    const int writeError = errno;
    // The data must be on the disk before the name points at it.
    const bool flushed = written && (::FlushFileBuffers(file) || FailWithLastError());
    const int flushError = errno;
    ::CloseHandle(file);
    if (!written) {
      errno = writeError;
      *problem = "writing failed: " + SystemText();
      return false;
    }
    if (!flushed) {
      errno = flushError;
      *problem = "syncing failed: " + SystemText();
      return false;
    }
    return true;
  }

  const std::string& Path() const { return path_; }
  void Placed() { path_.clear(); }
  // Only the file this object created is ever removed.
  void Discard() {
    if (!path_.empty()) ::DeleteFileW(Wide(path_).c_str());
    path_.clear();
  }

 private:
  std::string path_;
};

bool OpenTarget(const std::string& path, std::string* folder, std::string* base,
                std::string* problem) {
  if (!SplitPath(path, folder, base)) {
    *problem = "not a file name";
    return false;
  }
  if (*folder == ".") *folder = "";
  const DWORD attributes = folder->empty() ? FILE_ATTRIBUTE_DIRECTORY : AttributesAt(*folder);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      FailWithLastError();
    } else {
      errno = ENOTDIR;
    }
    *problem = "cannot open its folder: " + SystemText();
    return false;
  }
  return true;
}

// Anything at the name but a regular file or a link is refused.
bool CheckReplaceable(const std::string& path, std::string* problem) {
  const DWORD existing = AttributesAt(path);
  if (existing != INVALID_FILE_ATTRIBUTES && !(existing & FILE_ATTRIBUTE_REPARSE_POINT) &&
      (existing & FILE_ATTRIBUTE_DIRECTORY)) {
    *problem = KindOf(existing) + " is there, not a regular file; it is left alone";
    return false;
  }
  return true;
}

bool PutInPlace(const std::string& path, const std::string& folder, const std::string& base,
                std::span<const uint8_t> bytes, std::string* problem) {
  StagedFile staged;
  if (!staged.Write(folder, base, bytes, problem)) return false;
  // A link at the path is replaced, not followed; the rename reaches the disk before it returns.
  if (!::MoveFileExW(Wide(staged.Path()).c_str(), Wide(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    FailWithLastError();
    *problem = "cannot replace the old file: " + SystemText();
    return false;
  }
  staged.Placed();
  return true;
}

// Programs storing one file take turns by a mutex named after the file's full path.
HANDLE LockForUpdate(const std::string& path) {
  wchar_t full[MAX_PATH * 4] = {};
  const DWORD length = ::GetFullPathNameW(Wide(path).c_str(), MAX_PATH * 4, full, nullptr);
  std::wstring name = length > 0 && length < MAX_PATH * 4 ? std::wstring(full, length) : Wide(path);
  ::CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
  const std::wstring mutexName =
      L"Local\\zrb-update-" + std::to_wstring(std::hash<std::wstring>()(name));
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, mutexName.c_str());
  if (mutex == nullptr) return nullptr;
  // A lock kept too long is another program's fault; the update goes ahead without it.
  const DWORD waited = ::WaitForSingleObject(mutex, kLockPatienceMs);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    ::CloseHandle(mutex);
    return nullptr;
  }
  return mutex;
}

}  // namespace

OpenedFile OpenRegularFile(const std::string& path) {
  OpenedFile result;
  if (path.empty() || path.find('\0') != std::string::npos) return result;
  const std::wstring name = Wide(path);
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    result.outcome = OpenOutcome::kNotRegularFile;
    result.problem = "not a regular file (a folder)";
    result.folder = true;
    return result;
  }
  const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return result;
    FailWithLastError();
    result.outcome = OpenOutcome::kCannotRead;
    result.problem = SystemText();
    return result;
  }
  // A pipe, a console or a device name ("NUL", "COM1") is never read from.
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    ::CloseHandle(file);
    result.outcome = OpenOutcome::kNotRegularFile;
    result.problem = "not a regular file (a device or pipe)";
    return result;
  }
  result.fd = UniqueFd(DescriptorFor(file, _O_RDONLY));
  result.outcome = result.fd ? OpenOutcome::kOpened : OpenOutcome::kCannotRead;
  if (!result.fd) result.problem = SystemText();
  return result;
}

bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes, std::string* problem) {
  std::string ignored, folder, base;
  if (!problem) problem = &ignored;
  return OpenTarget(path, &folder, &base, problem) && CheckReplaceable(path, problem) &&
         PutInPlace(path, folder, base, bytes, problem);
}

bool UpdateFile(const std::string& path, size_t maxBytes,
                const std::function<std::vector<uint8_t>(const std::optional<std::string>&)>& make,
                std::string* problem) {
  std::string ignored, folder, base;
  if (!problem) problem = &ignored;
  if (!OpenTarget(path, &folder, &base, problem) || !CheckReplaceable(path, problem)) return false;
  const HANDLE lock = LockForUpdate(path);
  const bool placed = PutInPlace(path, folder, base, make(ReadSmallFile(path, maxBytes)), problem);
  if (lock) {
    ::ReleaseMutex(lock);
    ::CloseHandle(lock);
  }
  return placed;
}

CreateOutcome CreateNewFile(const std::string& path, std::span<const uint8_t> bytes,
                            std::string* problem) {
  std::string ignored, folder, base;
  if (!problem) problem = &ignored;
  if (!OpenTarget(path, &folder, &base, problem)) return CreateOutcome::kFailed;
  if (AttributesAt(path) != INVALID_FILE_ATTRIBUTES) return CreateOutcome::kNameTaken;
  StagedFile staged;
  if (!staged.Write(folder, base, bytes, problem)) return CreateOutcome::kFailed;
  // Without MOVEFILE_REPLACE_EXISTING the name is taken only if it is still free.
  if (!::MoveFileExW(Wide(staged.Path()).c_str(), Wide(path).c_str(), MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
      return CreateOutcome::kNameTaken;
    }
    FailWithLastError();
    *problem = "cannot give the file its name: " + SystemText();
    return CreateOutcome::kFailed;
  }
  staged.Placed();
  return CreateOutcome::kCreated;
}

AppendFile OpenOwnFileForAppending(const std::string& path) {
  AppendFile result;
  const HANDLE file =
      ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    FailWithLastError();
    const DWORD there = AttributesAt(path);
    result.outcome =
        there != INVALID_FILE_ATTRIBUTES ? AppendOutcome::kNotOurs : AppendOutcome::kFailed;
    result.problem = there == INVALID_FILE_ATTRIBUTES ? SystemText()
                     : (there & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
                         ? KindOf(there)
                         : "a file that cannot be opened for writing (" + SystemText() + ")";
    return result;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  std::string why;
  if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info)) {
    why = "not a regular file";
  } else if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    why = "a link";
  } else if (info.nNumberOfLinks != 1) {
    why = "a file with other names";
  }
  if (!why.empty()) {
    ::CloseHandle(file);
    result.outcome = AppendOutcome::kNotOurs;
    result.problem = why;
    return result;
  }
  result.fd = UniqueFd(DescriptorFor(file, _O_APPEND));
  if (!result.fd) {
    result.problem = SystemText();
    return result;
  }
  result.outcome = AppendOutcome::kOpened;
  return result;
}

UniqueFd CreateUniqueFile(const std::string& folder, const std::string& prefix,
                          const std::string& suffix, std::string* path, std::string* problem) {
  std::string ignored;
  if (!problem) problem = &ignored;
  const std::string start =
      folder.empty() || folder.back() == '/' || folder.back() == '\\' ? folder : folder + "/";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = start + prefix + RandomLetters() + suffix;
    const HANDLE file = ::CreateFileW(Wide(name).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      if (path) *path = name;
      return UniqueFd(DescriptorFor(file, 0));
    }
    if (::GetLastError() != ERROR_FILE_EXISTS) break;
  }
  FailWithLastError();
  *problem = SystemText();
  return {};
}

// A Windows folder of the player's is the player's own; anything but a folder goes (a link
// itself, never what it points to).
void RemoveOwnFile(const std::string& path) {
  const DWORD attributes = AttributesAt(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::DeleteFileW(Wide(path).c_str());
  }
}

}  // namespace zrb::platform
