#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/sbx/sbx_tool.h"

namespace sbx {
namespace {

namespace archive = zrb::files::archive;

// Stored names never hold folders; one that does (or is "." or "..") is not written anywhere.
bool SafeToWrite(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

}  // namespace

int Extract(const Arguments& args) {
  std::string_view archivePath;
  std::string outputDir = ".";
  std::vector<std::string_view> wanted;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 == args.size()) return Fail(kUsage, "extract: -o needs a folder");
      outputDir = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return Fail(kUsage, "extract: unknown option " + Shown(args[i]));
    } else if (archivePath.empty()) {
      archivePath = args[i];
    } else {
      wanted.push_back(args[i]);
    }
  }
  if (archivePath.empty()) return Fail(kUsage, "usage: sbx extract ARCHIVE [NAME...] [-o DIR]");
  OpenArchive opened = OpenArchiveOrReport(archivePath);
  if (!opened.source) return kFailed;
  std::error_code ec;
  std::filesystem::create_directories(outputDir, ec);
  if (ec) return Fail(kFailed, "cannot create folder " + Shown(outputDir) + ": " + ec.message());

  // Like the resolver, the first entry of a name wins; later ones are never reached.
  std::vector<std::string> done;
  std::vector<bool> found(wanted.size(), false);
  int status = kOk;
  archive::DirectoryReader reader(*opened.source, opened.layout);
  while (auto entry = reader.Next()) {
    bool chosen = wanted.empty();
    for (size_t i = 0; i < wanted.size(); ++i) {
      if (archive::NamesMatch(wanted[i], entry->name)) chosen = found[i] = true;
    }
    const auto seen = [&](const std::string& name) {
      return archive::NamesMatch(name, entry->name);
    };
    if (!chosen || std::ranges::any_of(done, seen)) continue;
    done.push_back(entry->name);
    if (!SafeToWrite(entry->name)) {
      status = Fail(kFailed, "skipped an item with an unsafe name");
      continue;
    }
    const archive::Item item = ReadItem(*opened.source, opened.layout, *entry);
    if (item.fault != archive::ItemFault::kNone) {
      status = Fail(kFailed, Shown(entry->name) + ": " + DescribeItemFault(item.fault));
      continue;
    }
    std::string error;
    if (!ReplaceFile(outputDir + "/" + entry->name, item.data, error)) {
      status = Fail(kFailed, error);
    }
  }
  for (size_t i = 0; i < wanted.size(); ++i) {
    if (!found[i]) status = Fail(kFailed, "no item named " + Shown(wanted[i]));
  }
  if (reader.CutShort()) status = Fail(kFailed, Shown(archivePath) + ": directory is cut short");
  return status;
}

}  // namespace sbx
