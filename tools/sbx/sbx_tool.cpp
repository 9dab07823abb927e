#include "tools/sbx/sbx_tool.h"

#include <cstdio>
#include <string>

#include "engine/platform/file_access.h"
#include "engine/values/shown_text.h"

namespace sbx {

using zrb::files::archive::TrailerStatus;

int Fail(int status, std::string_view message) {
  std::fprintf(stderr, "sbx: %.*s\n", static_cast<int>(message.size()), message.data());
  return status;
}

std::string Shown(std::string_view name) {
  return zrb::ShownText(name, zrb::files::archive::kMaxNameLength);
}

OpenArchive OpenArchiveOrReport(std::string_view path) {
  OpenArchive archive;
  const std::string shown = Shown(path);
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
  std::string problem;
  if (zrb::platform::ReplaceFile(path, bytes, &problem)) return true;
  error = "cannot write " + Shown(path) + ": " + problem;
  return false;
}

}  // namespace sbx
