// Bitmap-font text, the status lines, the playfield picture, the end of every frame and the
// common key wait.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/values/engine_string.h"

namespace tundrel {

// The maker's one-line notice (22 characters, centred at column 9).
extern const char* const makerNotice;

// The font1.png frame that shows `character` (capitals as the small letters): its first
// place in fontChars, or -1 when the font has no such character.
int32_t FontFrame(char character);

// Draws text from font1.png on the 16-pixel column grid, top of the glyphs at pixel row y.
// A character the font lacks draws nothing and keeps its column.
void PrintText(std::string_view text, int32_t column, int32_t y);

// The last n characters of n zeros followed by the decimal text of value.
zrb::EngineString PadDigits(int32_t value, int32_t n);

// The three forms of the status line, as texts.
// "score|000000 round|01 high|0000000"
zrb::EngineString FrontStatusText();
// "score|000000 time|000 round|01"
zrb::EngineString QuitStatusText();
// "score|000000 lives|3 time|000 round|01", from timeText and roundText.
zrb::EngineString InGameStatusText();
// Rebuilds timeText (timer / 60, at least three digits) and roundText (at least two).
void UpdateStatusDigits();

// The front-end form at column 3, y 16.
void DrawFrontStatus();
// The leave-game confirmation's form at column 5, y 16.
void DrawQuitStatus();

// One game frame's picture: status line, floor, backdrop, item shadows, maze, items (which
// also moves and picks them up), the lower backdrop half, the maker notice and, when showCage
// is 1, the heart cage.
void DrawPlayfield(int32_t showCage);

// The optional scanline overlay, then ShowScreen. Every screen ends its frames this way.
void FinishFrame();

// Waits for a key press and its release (the joypad's keys too, when it is on), pauses
// 250 ms, blips.
void WaitKey();
// The two stages of WaitKey without the pause and the blip: a key down (FirstKeyDown), then
// that key up.
void WaitKeyPressAndRelease();

// The blip of the menus, when the sound is on.
void PlayBlip();

}  // namespace tundrel
