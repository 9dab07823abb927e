// The game's media: every picture and sound by its slot, and the file each slot is loaded from.
#pragma once

#include <cstdint>
#include <span>

namespace tundrel {

// Picture slots. Whole sprites and animation strips share one numbering.
inline constexpr int32_t imgBack0 = 0;
inline constexpr int32_t imgTiles = 1;
inline constexpr int32_t imgEnd = 2;
inline constexpr int32_t imgFont = 3;
inline constexpr int32_t imgPlayer = 4;
inline constexpr int32_t imgItems = 5;
inline constexpr int32_t imgMainMenu = 6;
inline constexpr int32_t imgEnemies = 7;
inline constexpr int32_t imgScanlines = 8;
inline constexpr int32_t imgParticles = 9;
inline constexpr int32_t imgWebs = 10;
inline constexpr int32_t imgSpray = 11;
inline constexpr int32_t imgBack1 = 12;
inline constexpr int32_t imgBack2 = 13;
inline constexpr int32_t imgBack3 = 14;
inline constexpr int32_t imgBack4 = 15;
inline constexpr int32_t imgBack5 = 16;

// Sound slots. The .mp3 files are music: loaded into their slots like the effects, they do not
// decode there, so those slots stay silent and the pieces are played with PlayMusic by name.
inline constexpr int32_t sndDing = 0;
inline constexpr int32_t sndLevelComplete = 1;
inline constexpr int32_t sndInGame2 = 2;
inline constexpr int32_t sndBlip = 3;
inline constexpr int32_t sndItemTaken = 4;
inline constexpr int32_t sndSuckIntoWeb = 5;
inline constexpr int32_t sndWebShot = 6;
inline constexpr int32_t sndSpray = 7;
inline constexpr int32_t sndDead = 8;
inline constexpr int32_t sndTheme = 9;
inline constexpr int32_t sndBonusMusic = 10;
inline constexpr int32_t sndInGame3 = 12;
inline constexpr int32_t sndAllHearts = 13;
inline constexpr int32_t sndItem1 = 14;
inline constexpr int32_t sndItem2 = 15;
inline constexpr int32_t sndExtraLife = 16;
inline constexpr int32_t sndHitBird = 17;
inline constexpr int32_t sndHitSpider = 18;
inline constexpr int32_t sndSlot19 = 19;  // nothing is loaded here: playing it is silent
inline constexpr int32_t sndHighscore = 20;
inline constexpr int32_t sndNoHighscore = 21;

// How an image is loaded: a whole sprite (frameWidth 0) or a strip of equal frames.
struct ImageEntry {
  const char* file;
  int32_t slot;
  int32_t frameWidth;
  int32_t frameHeight;
};

struct SoundEntry {
  const char* file;
  int32_t slot;
};

// In load order.
std::span<const ImageEntry> ImageCatalogue();
std::span<const SoundEntry> SoundCatalogue();

// The music pieces, played by file name.
inline constexpr const char* kThemeMusic = "_theme.mp3";
inline constexpr const char* kInGameMusic = "_InGame2.mp3";
inline constexpr const char* kHurryUpMusic = "_InGame3.mp3";
inline constexpr const char* kRoundCompleteMusic = "_LevelComplete.mp3";
inline constexpr const char* kBonusRoundMusic = "_ingamebonuslevel.mp3";
inline constexpr const char* kLostLifeMusic = "_dead.mp3";

}  // namespace tundrel
