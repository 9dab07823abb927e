// Loading pictures into numbered sprite slots (BMP, PNG, JPEG), animation strips and the
// colour key. Slots are then drawn by number (draw.h).
#pragma once

#include <cstdint>
#include <string_view>

namespace zrb {

// Loads the whole image `fileName` (resolved on disk or in the media archive) into `slot`.
// The slot is emptied first; on any failure it stays empty and the last-error code becomes
// 3 ("no such file"). Pixels of images without an alpha channel that equal the transparent
// colour become fully transparent.
void LoadSprite(std::string_view fileName, int32_t slot);

// LoadSprite, then, when the slot holds an image, cuts it into frames of
// frameWidth x frameHeight numbered left to right, top to bottom.
void LoadAnim(std::string_view fileName, int32_t slot, int32_t frameWidth, int32_t frameHeight);

// The colour key (red + green * 256 + blue * 65536) for later loads. Default: red 255,
// green 0, blue 128. Slots already loaded keep what they have.
void SetTransparentColour(int32_t colour);

struct SpriteDimensions {
  int32_t width = 0;
  int32_t height = 0;
};

// The slot's image size; 0 x 0 for an empty slot.
SpriteDimensions SpriteSize(int32_t slot);

}  // namespace zrb
