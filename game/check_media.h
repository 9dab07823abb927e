// tundrel --check-media: is every file of the catalogue there and usable?
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tundrel {

struct MediaCheckLine {
  const char* kind = "";  // "image", "sound" (a WAVE effect) or "music" (an MP3 piece)
  int32_t slot = 0;
  std::string name;
  bool good = false;
  std::string detail;  // size, length, or what is wrong
};

// One line per catalogue entry, in load order, from what LoadCatalogue put into the slots.
// The MP3 pieces, which no sound slot takes, are looked up and measured as music.
std::vector<MediaCheckLine> CheckLoadedMedia();
std::string FormatMediaCheckLine(const MediaCheckLine& line);
// Prints every line and a summary on standard output; true when every entry is good.
bool ReportMediaCheck();
// The pictures of the catalogue that did not load (none loads without "Media.sbx" or loose
// files beside the program). A game with missing pictures still runs, but the player is told
// once, on standard error, where to look.
int32_t CountMissingImages();
void WarnAboutMissingImages();

}  // namespace tundrel
