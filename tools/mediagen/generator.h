// Turns the text sources of media/ into the files of the catalogue.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tools/mediagen/catalogue.h"
#include "tools/mediagen/image.h"

namespace mediagen {

struct GeneratedFile {
  std::vector<uint8_t> bytes;
  EntryKind kind = EntryKind::kPicture;
  // Pictures: the finished picture and its frame size (0 for whole pictures).
  Image image;
  int frameWidth = 0, frameHeight = 0, frames = 0;
};

struct MediaSet {
  std::vector<CatalogueEntry> catalogue;
  std::map<std::string, GeneratedFile> files;     // by file name, catalogue files only
  std::map<std::string, GeneratedFile> internal;  // sheets the pictures use, never written
};

struct GenerateOptions {
  bool pictures = true;
  bool sounds = true;
  bool music = true;
  // False while drawing: makes what the sources give and skips the catalogue check.
  bool requireAll = true;
  std::function<void(const std::string&)> progress;  // one line per finished file
};

// Reads media/catalogue.txt, media/sprites, media/pictures, media/sounds and media/music.
// Throws SourceError for malformed sources and std::runtime_error for anything else,
// including a catalogue name that no source produces or a strip that is too short.
MediaSet GenerateMedia(const std::filesystem::path& mediaDir, const GenerateOptions& options = {});

void WriteMedia(const MediaSet& set, const std::filesystem::path& outDir);
// One PNG per picture: strips as contact sheets, whole pictures as they are.
void WriteContactSheets(const MediaSet& set, const std::filesystem::path& dir, int scale = 2);

}  // namespace mediagen
