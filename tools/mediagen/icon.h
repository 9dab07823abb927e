// The program's icon, drawn from the penguin the game shows: the first frame of the player
// sheet (tibbo standing), cut to its painted pixels and centred on a transparent square. Sizes
// that hold a whole multiple of the art filling most of the square get exactly that, pixel for
// pixel; smaller ones get the art enlarged to a whole multiple and then averaged down, which
// keeps the edges as sharp as the size allows. Redrawn art flows into the icon by itself.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "tools/mediagen/image.h"

namespace mediagen {

inline constexpr const char* kIconSheet = "sprites/player.txt";
inline constexpr int kIconFrame = 0;

// The sizes desktops look for in the hicolor icon theme.
inline const std::vector<int> kIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// `art` as a size x size icon. Throws std::runtime_error for art without a painted pixel.
Image RenderIcon(const Image& art, int size);

// The icon's art from the sources under mediaDir. Throws SourceError for a malformed sheet.
Image IconArt(const std::filesystem::path& mediaDir);

// The Windows icon file holding `pngs` (one PNG stream per entry of `sizes`; those over 256
// are left out, the format cannot name them).
std::vector<uint8_t> IconFile(const std::vector<std::vector<uint8_t>>& pngs,
                              const std::vector<int>& sizes);

// Writes DIR/<size>.png for every size, and DIR/icon.ico holding them all (the Windows
// program's icon).
void WriteIcons(const std::filesystem::path& mediaDir, const std::filesystem::path& dir,
                const std::vector<int>& sizes);

}  // namespace mediagen
