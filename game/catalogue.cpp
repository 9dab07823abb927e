#include "game/catalogue.h"

namespace tundrel {
namespace {

// Backdrops first, then the strips, then the whole sprites.
constexpr ImageEntry kImages[] = {
    {"back1.png", imgBack1, 544, 192},       {"back2.png", imgBack2, 544, 192},
    {"back3.png", imgBack3, 544, 192},       {"back4.png", imgBack4, 544, 192},
    {"back5.png", imgBack5, 544, 192},       {"tiles.png", imgTiles, 32, 32},
    {"font1.png", imgFont, 16, 16},          {"player.png", imgPlayer, 32, 32},
    {"items.png", imgItems, 32, 32},         {"enemies.png", imgEnemies, 32, 32},
    {"particles.png", imgParticles, 32, 32}, {"webs.png", imgWebs, 32, 32},
    {"spray.png", imgSpray, 48, 48},         {"back0.png", imgBack0, 0, 0},
    {"mainmenu.png", imgMainMenu, 0, 0},     {"end.png", imgEnd, 0, 0},
    {"scanlines.png", imgScanlines, 0, 0},
};

constexpr SoundEntry kSounds[] = {
    {"_ding.wav", sndDing},
    {"_LevelComplete.mp3", sndLevelComplete},
    {"_InGame2.mp3", sndInGame2},
    {"_InGame3.mp3", sndInGame3},
    {"_blip.wav", sndBlip},
    {"_ItemTaken.wav", sndItemTaken},
    {"_Suckintoweb.wav", sndSuckIntoWeb},
    {"_webshot.wav", sndWebShot},
    {"_spraysound2.wav", sndSpray},
    {"_dead.mp3", sndDead},
    {"_theme.mp3", sndTheme},
    {"_ingamebonuslevel.mp3", sndBonusMusic},
    {"_allhearts.wav", sndAllHearts},
    {"_item1.wav", sndItem1},
    {"_item2.wav", sndItem2},
    {"_extralife.wav", sndExtraLife},
    {"_hitbird.wav", sndHitBird},
    {"_hitspider.wav", sndHitSpider},
    {"_highscore.wav", sndHighscore},
    {"_nohighscore.wav", sndNoHighscore},
};

}  // namespace

std::span<const ImageEntry> ImageCatalogue() {
  return kImages;
}
std::span<const SoundEntry> SoundCatalogue() {
  return kSounds;
}

}  // namespace tundrel
