// The art rules gameplay depends on (transparent holes, collision outlines) in the media the
// build made, and that generating it again gives the same bytes. What the catalogue's files
// are, and how the game plays with them, the recorded runs pin (tests/recorded).
#include <gtest/gtest.h>

#include <filesystem>

#include "tools/mediagen/catalogue.h"
#include "tools/mediagen/generator.h"
#include "tools/mediagen/png_io.h"

namespace mediagen {
namespace {

namespace fs = std::filesystem;

const fs::path kSources = TUNDREL_MEDIA_SOURCES;
const fs::path kBuilt = TUNDREL_MEDIA_BUILT;

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

TEST(BuiltMedia, GeneratingAgainGivesTheSameBytes) {
  MediaSet again = GenerateMedia(kSources);
  ASSERT_EQ(again.files.size(), Catalogue().size());
  for (const auto& [name, file] : again.files) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(file.bytes == ReadFileBytes(kBuilt / name));
  }
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

}  // namespace
}  // namespace mediagen
