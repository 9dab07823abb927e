#include <string>

#include "engine/files/disk_file.h"
#include "tools/sbx/sbx_tool.h"

namespace sbx {

using zrb::files::archive::ArchiveBuilder;
using zrb::files::archive::OffsetBase;

int Pack(const Arguments& args) {
  OffsetBase base = OffsetBase::kFileStart;
  std::vector<std::string_view> paths;
  bool optionsEnded = false;
  for (std::string_view arg : args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg == "--from-end") {
      base = OffsetBase::kFileEnd;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      return Fail(kUsage, "pack: unknown option " + Shown(arg));
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() < 2) return Fail(kUsage, "usage: sbx pack [--from-end] ARCHIVE FILE...");

  const std::string archivePath(paths.front());
  ArchiveBuilder builder;
  for (size_t i = 1; i < paths.size(); ++i) {
    const std::string_view path = paths[i];
    // Refused from its size alone: a file too large for an item is never read into memory.
    const zrb::files::UniqueFd input = zrb::files::OpenExistingFile(path);
    if (input && zrb::files::FileSizeOf(input.Get()) > zrb::files::archive::kMaxItemSize) {
      return Fail(kFailed, Shown(path) + ": larger than 256 MiB, the most an item may hold");
    }
    const auto data = zrb::files::ReadWholeFile(path);
    if (!data) return Fail(kFailed, "cannot read " + Shown(path));
    const size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (std::string error = builder.Add(name, *data); !error.empty()) {
      return Fail(kFailed, Shown(path) + ": " + error);
    }
  }
  std::string error;
  if (!ReplaceFile(archivePath, builder.Finish(base), error)) return Fail(kFailed, error);
  return kOk;
}

}  // namespace sbx
