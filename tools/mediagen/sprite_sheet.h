// Pixel-art strips written as text: a palette of characters and one character grid per
// frame (see media/README.md for the format). Parsing checks everything it can and reports
// "file:line: what is wrong"; rendering turns the grids into RGBA frames and a strip.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/mediagen/image.h"
#include "tools/mediagen/source_text.h"

namespace mediagen {

struct SpriteSheet {
  std::string output;     // file name of the strip, e.g. "player.png"
  bool internal = false;  // used by pictures only, never written out
  int frameWidth = 0, frameHeight = 0;
  int columns = 0;  // frames per row of the strip picture
  std::vector<Image> frames;
  // The frames before outline and shadow: the bare shapes, which the pictures use to set
  // large lettering from the font.
  std::vector<Image> shapes;

  int frameCount() const { return static_cast<int>(frames.size()); }
  Image Strip() const;
};

SpriteSheet ParseSpriteSheet(const SourceText& src);

}  // namespace mediagen
