#include <cstdio>
#include <string>

#include "tools/sbx/sbx_tool.h"

namespace sbx {

int List(const Arguments& args) {
  if (args.size() != 1) return Fail(kUsage, "usage: sbx list ARCHIVE");
  OpenArchive archive = OpenArchiveOrReport(args[0]);
  if (!archive.source) return kFailed;

  std::printf("%11s %11s %11s  %s\n", "offset", "stored", "original", "name");
  zrb::files::archive::DirectoryReader reader(*archive.source, archive.layout);
  size_t count = 0;
  while (auto entry = reader.Next()) {
    const auto original = ReadItemSize(*archive.source, archive.layout, *entry);
    const std::string originalText = original ? std::to_string(*original) : "?";
    std::printf("%11d %11d %11s  %s\n", entry->offset, entry->storedSize, originalText.c_str(),
                Shown(entry->name).c_str());
    ++count;
  }
  std::printf("%zu item%s; offsets count from the %s of the file\n", count, count == 1 ? "" : "s",
              archive.layout.CountsFromEnd() ? "end" : "start");
  if (reader.CutShort()) return Fail(kFailed, Shown(args[0]) + ": directory is cut short");
  return kOk;
}

}  // namespace sbx
