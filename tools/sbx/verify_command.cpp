#include <cstdio>
#include <string>

#include "tools/sbx/sbx_tool.h"

namespace sbx {

int Verify(const Arguments& args) {
  if (args.size() != 1) return Fail(kUsage, "usage: sbx verify ARCHIVE");
  OpenArchive archive = OpenArchiveOrReport(args[0]);
  const std::string path = Shown(args[0]);
  if (!archive.source) return kFailed;

  zrb::files::archive::DirectoryReader reader(*archive.source, archive.layout);
  size_t count = 0;
  size_t damaged = 0;
  while (auto entry = reader.Next()) {
    ++count;
    const auto item = ReadItem(*archive.source, archive.layout, *entry);
    if (item.fault != zrb::files::archive::ItemFault::kNone) {
      ++damaged;
      std::printf("damaged %s: %s\n", Shown(entry->name).c_str(), DescribeItemFault(item.fault));
    }
  }
  std::printf("%zu item%s, %zu damaged\n", count, count == 1 ? "" : "s", damaged);
  if (reader.CutShort()) return Fail(kFailed, path + ": directory is cut short");
  if (damaged > 0) return Fail(kFailed, path + ": damaged items found");
  return kOk;
}

}  // namespace sbx
