// Checks the media the build made (the files mediagen wrote and the packed Media.sbx):
// every catalogue file with its shape, the archive's contents, repeatability, and the art
// rules that gameplay depends on (transparent holes, collision outlines).
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "engine/files/archive_format.h"
#include "engine/files/byte_source.h"
#include "tools/mediagen/audio_files.h"
#include "tools/mediagen/catalogue.h"
#include "tools/mediagen/generator.h"
#include "tools/mediagen/png_io.h"

namespace mediagen {
namespace {

namespace fs = std::filesystem;

const fs::path kSources = TUNDREL_MEDIA_SOURCES;
const fs::path kBuilt = TUNDREL_MEDIA_BUILT;
const fs::path kArchive = TUNDREL_MEDIA_ARCHIVE;

std::vector<CatalogueEntry> Catalogue() {
  return ParseCatalogue(SourceText::Load(kSources / "catalogue.txt"));
}

Image Frame(const Image& strip, int fw, int fh, int n) {
  int perRow = strip.width() / fw;
  return strip.Crop((n % perRow) * fw, (n / perRow) * fh, fw, fh);
}

int Opaque(const Image& img) {
  int n = 0;
  for (const Rgba& p : img.pixels())
    n += p.a != 0;
  return n;
}

// Whether two frames placed dx, dy apart share an opaque pixel (the game's contact test).
bool Touch(const Image& a, const Image& b, int dx, int dy) {
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.at(x, y).a && b.Contains(x - dx, y - dy) && b.at(x - dx, y - dy).a) return true;
  return false;
}

TEST(BuiltMedia, EveryCatalogueFileIsThereWithItsShape) {
  for (const CatalogueEntry& e : Catalogue()) {
    SCOPED_TRACE(e.name);
    fs::path path = kBuilt / e.name;
    ASSERT_TRUE(fs::is_regular_file(path));
    std::vector<uint8_t> bytes = ReadFileBytes(path);
    switch (e.kind) {
      case EntryKind::kStrip: {
        Image img = DecodePng(bytes, e.name);
        EXPECT_EQ(img.width() % e.frameWidth, 0);
        EXPECT_EQ(img.height() % e.frameHeight, 0);
        int frames = (img.width() / e.frameWidth) * (img.height() / e.frameHeight);
        EXPECT_GE(frames, e.minFrames);
        for (int n = 0; n < e.minFrames && n < frames; ++n) {
          // The game draws every one of these frames; only the font's space is empty.
          if (e.name == "font1.png" && n == 0) continue;
          EXPECT_GT(Opaque(Frame(img, e.frameWidth, e.frameHeight, n)), 0) << "frame " << n;
        }
        break;
      }
      case EntryKind::kPicture: {
        Image img = DecodePng(bytes, e.name);
        EXPECT_GT(Opaque(img), 0);
        break;
      }
      case EntryKind::kSound: {
        WavInfo info = InspectWav(bytes);
        EXPECT_EQ(info.error, "");
        EXPECT_EQ(info.rate, kEffectRate);
        EXPECT_EQ(info.bits, 16);
        EXPECT_EQ(info.channels, 1);
        double seconds = info.dataBytes / 2.0 / info.rate;
        EXPECT_GT(seconds, 0.04);
        EXPECT_LT(seconds, 6.0);
        break;
      }
      case EntryKind::kMusic:
        ASSERT_GT(bytes.size(), 2u);
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1] & 0xE0, 0xE0);
        break;
    }
  }
  EXPECT_EQ(ReadPng(kBuilt / "back0.png").width(), 544);
  EXPECT_EQ(ReadPng(kBuilt / "back0.png").height(), 384);
  EXPECT_EQ(ReadPng(kBuilt / "mainmenu.png").width(), 640);
  EXPECT_EQ(ReadPng(kBuilt / "scanlines.png").height(), 480);
  Image end = ReadPng(kBuilt / "end.png");  // drawn at (216, 214), it must stay on the screen
  EXPECT_LE(216 + end.width(), 640);
  EXPECT_LE(214 + end.height(), 480 - 30);
}

TEST(BuiltMedia, ArchiveHoldsEveryCatalogueFileByteForByte) {
  std::unique_ptr<zrb::files::ByteSource> source = zrb::files::OpenByteSource(kArchive.string());
  ASSERT_TRUE(source);
  zrb::files::archive::Layout layout;
  ASSERT_EQ(zrb::files::archive::ReadTrailer(*source, layout),
            zrb::files::archive::TrailerStatus::kFound);
  for (const CatalogueEntry& e : Catalogue()) {
    SCOPED_TRACE(e.name);
    auto entry = zrb::files::archive::FindEntry(*source, layout, e.name);
    ASSERT_TRUE(entry.has_value());
    zrb::files::archive::Item item = zrb::files::archive::ReadItem(*source, layout, *entry);
    EXPECT_EQ(item.fault, zrb::files::archive::ItemFault::kNone);
    EXPECT_TRUE(item.data == ReadFileBytes(kBuilt / e.name));
  }
}

TEST(BuiltMedia, GeneratingAgainGivesTheSameBytes) {
  MediaSet again = GenerateMedia(kSources);
  ASSERT_EQ(again.files.size(), Catalogue().size());
  for (const auto& [name, file] : again.files) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(file.bytes == ReadFileBytes(kBuilt / name));
  }
}

TEST(BuiltMedia, MusicDecodesAndLastsAsLongAsItShould) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
  // name -> shortest and longest acceptable length in seconds
  std::map<std::string, std::pair<double, double>> lengths = {
      {"_theme.mp3", {30, 120}},      {"_InGame2.mp3", {30, 120}},
      {"_InGame3.mp3", {30, 120}},    {"_ingamebonuslevel.mp3", {30, 120}},
      {"_LevelComplete.mp3", {2, 7}}, {"_dead.mp3", {1.5, 5}}};
  for (const auto& [name, range] : lengths) {
    SCOPED_TRACE(name);
    Mix_Music* music = Mix_LoadMUS((kBuilt / name).string().c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    double seconds = Mix_MusicDuration(music);
    EXPECT_GE(seconds, range.first);
    EXPECT_LE(seconds, range.second);
    Mix_FreeMusic(music);
  }
  Mix_CloseAudio();
  SDL_Quit();
}

TEST(BuiltMedia, BackdropsFrameTheMazeAndLeaveItsInsideEmpty) {
  for (int n = 1; n <= 5; ++n) {
    Image back = ReadPng(kBuilt / ("back" + std::to_string(n) + ".png"));
    SCOPED_TRACE(n);
    ASSERT_EQ(back.width(), 544);
    ASSERT_EQ(back.height(), 384);
    int holes = 0, wall = 0;
    for (int y = 0; y < 384; ++y)
      for (int x = 0; x < 544; ++x) {
        bool inside = x >= 32 && x < 512 && y >= 32 && y < 352;
        if (inside)
          holes += back.at(x, y).a != 0;
        else
          wall += back.at(x, y).a != 255;
      }
    EXPECT_EQ(holes, 0);  // floor, walls and items show through
    EXPECT_EQ(wall, 0);   // the outer wall is drawn by the backdrop alone
  }
}

TEST(BuiltMedia, WallAndFloorTilesAreSolid) {
  Image tiles = ReadPng(kBuilt / "tiles.png");
  for (int n : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13}) {
    EXPECT_EQ(Opaque(Frame(tiles, 32, 32, n)), 32 * 32) << "tile " << n;
  }
}

TEST(BuiltMedia, WebsCatchOnlyPenguinsThatWalkIntoThem) {
  Image webs = ReadPng(kBuilt / "webs.png");
  Image web = Frame(webs, 32, 32, 4), penguin = Frame(webs, 32, 32, 5);
  // Penguins in the next cell, beside or diagonally, pass freely.
  for (int dx : {-32, 0, 32})
    for (int dy : {-32, 0, 32})
      if (dx || dy) {
        EXPECT_FALSE(Touch(web, penguin, dx, dy)) << dx << "," << dy;
      }
  // Half way into the web's cell from any side, it catches.
  for (auto [dx, dy] : {std::pair{16, 0}, {-16, 0}, {0, 16}, {0, -16}}) {
    EXPECT_TRUE(Touch(web, penguin, dx, dy)) << dx << "," << dy;
  }
  // A quarter of the way in it does not yet.
  EXPECT_FALSE(Touch(web, penguin, 26, 0));
}

TEST(BuiltMedia, EnemiesTouchPenguinsThatOverlapThem) {
  Image penguin = Frame(ReadPng(kBuilt / "player.png"), 32, 32, 0);
  Image enemy = Frame(ReadPng(kBuilt / "enemies.png"), 32, 32, 0);
  EXPECT_TRUE(Touch(penguin, enemy, 16, 0));
  EXPECT_TRUE(Touch(penguin, enemy, 0, 16));
  EXPECT_FALSE(Touch(penguin, enemy, 32, 0));  // neighbours in the next cell are safe
  EXPECT_FALSE(Touch(penguin, enemy, 0, 32));
}

TEST(BuiltMedia, SprayReachesTheNextCell) {
  Image spray = ReadPng(kBuilt / "spray.png");
  Image web = Frame(ReadPng(kBuilt / "webs.png"), 32, 32, 0);
  // Where the game puts each spray frame relative to a penguin at (0, 0), and the cell
  // in front of it.
  struct Aim {
    int frame, sx, sy, cellX, cellY;
  };
  for (Aim a : {Aim{0, 28, 7, 32, 0}, Aim{2, -44, 7, -32, 0}, Aim{4, -2, 17, 0, 32},
                Aim{6, 24, -28, 0, -32}}) {
    for (int offset : {0, 1, 8, 9}) {
      Image f = Frame(spray, 48, 48, a.frame + offset);
      EXPECT_TRUE(Touch(f, web, a.cellX - a.sx, a.cellY - a.sy))
          << "spray frame " << a.frame + offset;
    }
  }
}

TEST(BuiltMedia, PenguinsDifferAndShadowsGrowAsItemsComeDown) {
  Image player = ReadPng(kBuilt / "player.png");
  for (int n = 0; n < 10; ++n) {
    EXPECT_FALSE(Frame(player, 32, 32, n).pixels() == Frame(player, 32, 32, n + 10).pixels()) << n;
  }
  Image items = ReadPng(kBuilt / "items.png");
  for (int n = 25; n <= 32; ++n) {
    EXPECT_GE(Opaque(Frame(items, 32, 32, n)), Opaque(Frame(items, 32, 32, n - 1))) << n;
  }
  Image font = ReadPng(kBuilt / "font1.png");
  std::set<std::vector<uint8_t>> glyphs;
  for (int n = 16; n <= 58; ++n)
    glyphs.insert(EncodePng(Frame(font, 16, 16, n)));
  EXPECT_EQ(glyphs.size(), 43u);  // digits, punctuation and letters all look different
}

}  // namespace
}  // namespace mediagen
