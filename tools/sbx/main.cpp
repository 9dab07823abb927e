// sbx: packs, lists, extracts and verifies media archives.
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/platform/console.h"
#include "tools/sbx/sbx_tool.h"

namespace {

constexpr const char* kHelp =
    "usage: sbx COMMAND ARGUMENTS\n"
    "\n"
    "  sbx pack [--from-end] ARCHIVE FILE...\n"
    "      Packs the files into a new ARCHIVE, each stored under its base name and\n"
    "      compressed with LZO1X-1. --from-end stores offsets counted from the end of\n"
    "      the file, so the archive still works when appended to another file.\n"
    "  sbx list ARCHIVE\n"
    "      Shows each item's offset, stored size, original size and name.\n"
    "  sbx extract ARCHIVE [NAME...] [-o DIR]\n"
    "      Writes the named items (all when none are named; names ignore case) into DIR\n"
    "      (default: the current folder).\n"
    "  sbx verify ARCHIVE\n"
    "      Decompresses every item and reports the damaged ones.\n"
    "  sbx --help\n"
    "\n"
    "Exit status: 0 success, 1 bad or damaged archive or file error, 2 wrong usage.\n";

}  // namespace

int main(int argc, char** argv) {
  zrb::platform::PrepareCommandLine(&argc, &argv);
  if (argc < 2) {
    std::fputs(kHelp, stderr);
    return sbx::kUsage;
  }
  const std::string_view command = argv[1];
  const sbx::Arguments args(argv + 2, argv + argc);
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kHelp, stdout);
    return sbx::kOk;
  }
  if (command == "pack") return sbx::Pack(args);
  if (command == "list") return sbx::List(args);
  if (command == "extract") return sbx::Extract(args);
  if (command == "verify") return sbx::Verify(args);
  return sbx::Fail(sbx::kUsage,
                   "unknown command \"" + std::string(command) + "\" (try sbx --help)");
}
