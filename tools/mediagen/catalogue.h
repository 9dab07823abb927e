// The list of files the game loads (media/catalogue.txt): every one must be generated,
// strips with their frame size and at least the frames the game draws.
#pragma once

#include <string>
#include <vector>

#include "tools/mediagen/source_text.h"

namespace mediagen {

enum class EntryKind { kStrip, kPicture, kSound, kMusic };

struct CatalogueEntry {
  std::string name;
  EntryKind kind = EntryKind::kPicture;
  int frameWidth = 0, frameHeight = 0, minFrames = 0;  // strips only
  size_t line = 0;
};

std::vector<CatalogueEntry> ParseCatalogue(const SourceText& src);

}  // namespace mediagen
