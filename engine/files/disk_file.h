// Plain disk files through POSIX descriptors: the one place the files module talks to the OS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zrb::files {

// Owns a file descriptor and closes it when it goes.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int Release();
  void Reset();

 private:
  int fd_ = -1;
};

// Game names may separate folders with "\" as well as "/"; the disk only knows "/".
// Empty when the name cannot name a file here (it holds a zero byte).
std::string PlatformPath(std::string_view name);

// Opens an existing regular file for reading; folders and missing files give an empty handle.
UniqueFd OpenExistingFile(std::string_view name);

// Size of an open file, or -1.
int64_t FileSizeOf(int fd);

// Reads up to `count` bytes at the current position, retrying short reads; the count read.
size_t ReadFully(int fd, void* buffer, size_t count);
// Reads exactly `count` bytes at `offset`.
bool ReadFullyAt(int fd, int64_t offset, void* buffer, size_t count);
// Writes all `count` bytes; false on any failure or short write.
bool WriteFully(int fd, const void* buffer, size_t count);

// The whole content of a regular disk file.
std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view name);

}  // namespace zrb::files
