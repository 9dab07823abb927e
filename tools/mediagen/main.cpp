// mediagen: builds the game's pictures, sound effects and music from the text sources.
//
//   mediagen MEDIA_DIR OUT_DIR                 write every catalogue file into OUT_DIR
//   mediagen MEDIA_DIR --contact-sheet DIR     write a contact sheet per picture into DIR
//   mediagen MEDIA_DIR --icons DIR             write the program's icon as DIR/<size>.png,
//   DIR/icon.ico (both may be combined; --quiet drops the per-file lines; --partial makes what the
//   sources give without the catalogue check; --sheet-scale N enlarges the sheets N times)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "tools/mediagen/generator.h"
#include "tools/mediagen/icon.h"
#include "tools/mediagen/source_text.h"

namespace {

int Usage() {
  std::fprintf(
      stderr,
      "usage: mediagen MEDIA_DIR [OUT_DIR] [--contact-sheet DIR] [--sheet-scale N] [--partial]\n"
      "                [--icons DIR [--icon-sizes N,N,...]] [--quiet]\n"
      "  MEDIA_DIR  the folder with catalogue.txt, sprites/, pictures/, sounds/, music/\n"
      "  OUT_DIR    where the catalogue files are written\n"
      "  --contact-sheet DIR  one PNG per picture, frames numbered and doubled in size\n"
      "  --icons DIR          the program's icon at each size (16 to 256 px), DIR/<size>.png\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string mediaDir, outDir, sheetDir, iconDir;
  std::vector<int> iconSizes = mediagen::kIconSizes;
  bool quiet = false, partial = false;
  int sheetScale = 2;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--contact-sheet") {
      if (i + 1 >= args.size()) return Usage();
      sheetDir = args[++i];
    } else if (args[i] == "--icons") {
      if (i + 1 >= args.size()) return Usage();
      iconDir = args[++i];
    } else if (args[i] == "--icon-sizes") {
      if (i + 1 >= args.size()) return Usage();
      iconSizes.clear();
      for (const char* p = args[++i].c_str(); *p;) {
        char* end = nullptr;
        const long size = std::strtol(p, &end, 10);
        if (end == p || size < 1 || size > 1024 || (*end != ',' && *end != '\0')) return Usage();
        iconSizes.push_back(static_cast<int>(size));
        p = *end == ',' ? end + 1 : end;
      }
    } else if (args[i] == "--quiet") {
      quiet = true;
    } else if (args[i] == "--partial") {
      partial = true;
    } else if (args[i] == "--sheet-scale") {
      if (i + 1 >= args.size()) return Usage();
      sheetScale = std::atoi(args[++i].c_str());
      if (sheetScale < 1 || sheetScale > 8) return Usage();
    } else if (args[i] == "--help" || args[i] == "-h") {
      Usage();
      return 0;
    } else if (!args[i].empty() && args[i][0] == '-') {
      std::fprintf(stderr, "mediagen: unknown option %s\n", args[i].c_str());
      return Usage();
    } else if (mediaDir.empty()) {
      mediaDir = args[i];
    } else if (outDir.empty()) {
      outDir = args[i];
    } else {
      return Usage();
    }
  }
  if (mediaDir.empty() || (outDir.empty() && sheetDir.empty() && iconDir.empty())) {
    return Usage();
  }

  auto start = std::chrono::steady_clock::now();
  try {
    if (!iconDir.empty()) {
      mediagen::WriteIcons(mediaDir, iconDir, iconSizes);
      if (outDir.empty() && sheetDir.empty()) return 0;
    }
    mediagen::GenerateOptions options;
    options.requireAll = !partial;
    if (!quiet)
      options.progress = [](const std::string& name) {
        std::printf("mediagen: made %s\n", name.c_str());
      };
    mediagen::MediaSet set = mediagen::GenerateMedia(mediaDir, options);
    size_t bytes = 0;
    for (const auto& [name, file] : set.files)
      bytes += file.bytes.size();
    if (!outDir.empty()) mediagen::WriteMedia(set, outDir);
    if (!sheetDir.empty()) mediagen::WriteContactSheets(set, sheetDir, sheetScale);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("mediagen: %zu files, %.1f KiB, generated in %.2f s\n", set.files.size(),
                bytes / 1024.0, seconds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mediagen: %s\n", e.what());
    return 1;
  }
  return 0;
}
