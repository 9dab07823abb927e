// Larger pictures (backdrops, title, menu, end picture, scanlines) painted by code from a
// readable list of drawing commands, one per line (see media/README.md).
#pragma once

#include <map>
#include <string>

#include "tools/mediagen/image.h"
#include "tools/mediagen/source_text.h"
#include "tools/mediagen/sprite_sheet.h"

namespace mediagen {

struct Picture {
  std::string output;
  bool internal = false;
  int stripWidth = 0, stripHeight = 0;  // frame size when the picture is loaded as a strip
  Image image;
};

// `sheets` are the sprite sheets by output name, for "sprite" and "text" commands.
Picture PaintPicture(const SourceText& src, const std::map<std::string, SpriteSheet>& sheets);

}  // namespace mediagen
