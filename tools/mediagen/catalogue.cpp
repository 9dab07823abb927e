#include "tools/mediagen/catalogue.h"

#include <set>

namespace mediagen {

std::vector<CatalogueEntry> ParseCatalogue(const SourceText& src) {
  std::vector<CatalogueEntry> entries;
  std::set<std::string> seen;
  for (size_t i = 0; i < src.size(); ++i) {
    if (IsBlankOrComment(src.line(i))) continue;
    std::vector<std::string> w = SplitWords(src.line(i));
    if (w.size() < 2)
      src.Fail(
          i, "write \"NAME strip W H FRAMES\", \"NAME picture\", \"NAME sound\" or \"NAME music\"");
    CatalogueEntry e;
    e.name = w[0];
    e.line = i;
    if (!seen.insert(e.name).second) src.Fail(i, "\"" + e.name + "\" is listed twice");
    const std::string& kind = w[1];
    size_t expected = 2;
    if (kind == "strip") {
      e.kind = EntryKind::kStrip;
      expected = 5;
      if (w.size() == expected) {
        e.frameWidth = ParseInt(src, i, w[2], 1, 4096);
        e.frameHeight = ParseInt(src, i, w[3], 1, 4096);
        e.minFrames = ParseInt(src, i, w[4], 1, 4096);
      }
    } else if (kind == "picture") {
      e.kind = EntryKind::kPicture;
    } else if (kind == "sound") {
      e.kind = EntryKind::kSound;
    } else if (kind == "music") {
      e.kind = EntryKind::kMusic;
    } else {
      src.Fail(i, "unknown kind \"" + kind + "\" (strip, picture, sound, music)");
    }
    if (w.size() != expected)
      src.Fail(i, "\"" + kind + "\" takes " + std::to_string(expected - 2) + " value(s) after it");
    entries.push_back(e);
  }
  if (entries.empty()) src.FailWhole("the catalogue is empty");
  return entries;
}

}  // namespace mediagen
