#include "tools/mediagen/picture.h"

#include <gtest/gtest.h>

#include <string>

namespace mediagen {
namespace {

std::map<std::string, SpriteSheet> Sheets() {
  std::map<std::string, SpriteSheet> sheets;
  sheets["dot.png"] = ParseSpriteSheet(SourceText::FromString(
      "dot.txt", "image dot.png\nframe-size 2 2\nframes 1\ncolour a #ff0000\nframe 0\na.\n..\n"));
  return sheets;
}

Picture Paint(const std::string& text) {
  return PaintPicture(SourceText::FromString("pic.txt", text), Sheets());
}

std::string ErrorOf(const std::string& text) {
  try {
    Paint(text);
  } catch (const SourceError& e) {
    return e.what();
  }
  return "";
}

TEST(Picture, CommandsPaintInOrderAndClearCutsTransparentHoles) {
  Picture p = Paint(
      "image p.png\nsize 8 4\nstrip 8 2\n"
      "fill #0000ff\n"
      "rect 0 0 2 2 #ffffff\n"
      "clear 6 0 2 4\n"
      "sprite dot.png 0 4 2 2\n"
      "lines 0 3 8 1 1 #00ff00\n");
  EXPECT_EQ(p.output, "p.png");
  EXPECT_EQ(p.stripWidth, 8);
  EXPECT_EQ(p.image.at(1, 1), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(p.image.at(3, 1), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(p.image.at(6, 0).a, 0);
  EXPECT_EQ(p.image.at(4, 2), (Rgba{255, 0, 0, 255}));  // the dot, doubled
  EXPECT_EQ(p.image.at(5, 2), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(p.image.at(0, 3), (Rgba{0, 255, 0, 255}));
}

TEST(Picture, PaintingIsRepeatable) {
  const char* text =
      "image p.png\nsize 64 32\nbricks 0 0 64 32 16 8 #808080 #ffffff #404040 #000000 3\n"
      "texture 0 0 64 32 0.1 6 2\nstars 0 0 64 32 20 5 #ffffff\naurora 0 0 64 32 #00ff80 1\n"
      "hills 0 16 64 16 #102040 4 1\nsnow 0 0 64 6 9\nicicles 0 6 64 4 8 2 #c0e0ff\n";
  EXPECT_EQ(Paint(text).image.pixels(), Paint(text).image.pixels());
}

TEST(Picture, MalformedPicturesAreRejectedWithFileAndLine) {
  EXPECT_EQ(ErrorOf("image p.png\nfill #ffffff\n"),
            "pic.txt:2: \"size W H\" must come before drawing");
  EXPECT_EQ(ErrorOf("image p.png\nsize 4 4\nsplash 1\n"), "pic.txt:3: unknown command \"splash\"");
  EXPECT_EQ(ErrorOf("image p.png\nsize 4 4\nrect 0 0 2\n"), "pic.txt:3: \"rect\" needs 5 values");
  EXPECT_EQ(ErrorOf("image p.png\nsize 4 4\nsprite none.png 0 0 0\n"),
            "pic.txt:3: no sprite sheet \"none.png\"");
  EXPECT_EQ(ErrorOf("image p.png\nsize 4 4\nsprite dot.png 3 0 0\n"),
            "pic.txt:3: number 3 is outside 0..0");
  EXPECT_EQ(ErrorOf("image p.png\nsize 4 4\nrect 0 0 2 2 red\n"),
            "pic.txt:3: \"red\" is not a colour (#rrggbb, #rrggbbaa or none)");
  EXPECT_EQ(ErrorOf("image p.png\nsize 4 4\ntext \"hi\" 0 0 1 #ffffff #ffffff #000000 1 none\n"),
            "pic.txt:3: \"text\" needs the font sheet font1.png");
  EXPECT_EQ(ErrorOf("image p.png\nsize 5 4\nstrip 2 2\n"),
            "pic.txt: the picture is not a whole number of strip frames");
  EXPECT_EQ(ErrorOf("size 4 4\n"), "pic.txt: no \"image NAME\" line");
}

}  // namespace
}  // namespace mediagen
