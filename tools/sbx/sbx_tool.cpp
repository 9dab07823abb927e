#include "tools/sbx/sbx_tool.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace sbx {

using zrb::files::archive::TrailerStatus;

int Fail(int status, std::string_view message) {
  std::fprintf(stderr, "sbx: %.*s\n", static_cast<int>(message.size()), message.data());
  return status;
}

OpenArchive OpenArchiveOrReport(std::string_view path) {
  OpenArchive archive;
  const std::string shown(path);
  // A "mem://" name means nothing on the command line; always open a disk file.
  auto fd = zrb::files::OpenExistingFile(path);
  const int64_t size = fd ? zrb::files::FileSizeOf(fd.Get()) : -1;
  if (size < 0) {
    Fail(kFailed, "cannot open archive " + shown);
    return archive;
  }
  auto source = std::make_unique<zrb::files::FileSource>(std::move(fd), size);
  switch (zrb::files::archive::ReadTrailer(*source, archive.layout)) {
    case TrailerStatus::kUnreadable:
      Fail(kFailed, shown + " is too short to be an archive");
      return archive;
    case TrailerStatus::kNoSignature:
      Fail(kFailed, shown + " is not an archive (its last 7 bytes do not begin with \"sbX\")");
      return archive;
    case TrailerStatus::kFound:
      break;
  }
  const int64_t start = archive.layout.DirectoryStart();
  if (start < 0 || start > archive.layout.fileSize - zrb::files::archive::kTrailerSize) {
    Fail(kFailed, shown + ": directory offset " + std::to_string(archive.layout.directoryOffset) +
                      " points outside the file");
    return archive;
  }
  archive.source = std::move(source);
  return archive;
}

bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error) {
  const std::string temporary = path + ".sbx-" + std::to_string(::getpid());
  zrb::files::UniqueFd fd(
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!fd) {
    error = "cannot create " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = zrb::files::WriteFully(fd.Get(), bytes.data(), bytes.size());
  const int writeErrno = errno;
  const bool closed = ::close(fd.Release()) == 0;
  if (!written || !closed) {
    error = "cannot write " + path + ": " + std::strerror(written ? errno : writeErrno);
    ::unlink(temporary.c_str());
    return false;
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace sbx
