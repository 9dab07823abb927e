#include "tools/mediagen/sprite_sheet.h"

#include <gtest/gtest.h>

#include <string>

namespace mediagen {
namespace {

SpriteSheet Parse(const std::string& text) {
  return ParseSpriteSheet(SourceText::FromString("sheet.txt", text));
}

// The message of the SourceError a malformed sheet raises ("" when it parses).
std::string ErrorOf(const std::string& text) {
  try {
    Parse(text);
  } catch (const SourceError& e) {
    return e.what();
  }
  return "";
}

const char* kHeader =
    "image test.png\n"
    "frame-size 4 3\n"
    "frames 2\n"
    "colour a #ff0000\n"
    "colour b #00ff0080\n";

TEST(SpriteSheet, GridsBecomeFramesAndTheStripLaysThemOutInColumns) {
  SpriteSheet s = Parse(std::string(kHeader) +
                        "columns 1\n"
                        "frame 0 first\n"
                        "ab..\n"
                        "  .a.b\n"  // leading blanks are indentation
                        "....\n"
                        "frame 1 = 0 mirror\n");
  ASSERT_EQ(s.frameCount(), 2);
  EXPECT_EQ(s.frames[0].at(0, 0), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(s.frames[0].at(1, 0), (Rgba{0, 255, 0, 128}));
  EXPECT_EQ(s.frames[0].at(2, 0).a, 0);
  EXPECT_EQ(s.frames[0].at(3, 1), (Rgba{0, 255, 0, 128}));
  EXPECT_EQ(s.frames[1].at(3, 0), (Rgba{255, 0, 0, 255}));  // mirrored
  EXPECT_EQ(s.frames[1].at(0, 1), (Rgba{0, 255, 0, 128}));
  Image strip = s.Strip();
  EXPECT_EQ(strip.width(), 4);
  EXPECT_EQ(strip.height(), 6);
  EXPECT_EQ(strip.at(3, 3), (Rgba{255, 0, 0, 255}));
}

TEST(SpriteSheet, DerivedFramesSwapStampMoveAndFlip) {
  SpriteSheet s = Parse(
      "image t.png\nframe-size 3 3\nframes 4\ncolour a #ff0000\ncolour b #0000ff\n"
      "part dot 1 1\nb\n"
      "frame 0\na..\n...\n...\n"
      "frame 1 = 0 swap ab\n"
      "frame 2 = 0 stamp dot 2 2 move 1 0\n"
      "frame 3 = 0 flip\n");
  EXPECT_EQ(s.frames[1].at(0, 0), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(s.frames[2].at(1, 0), (Rgba{255, 0, 0, 255}));  // moved right by one
  EXPECT_EQ(s.frames[2].at(0, 0).a, 0);
  EXPECT_EQ(s.frames[2].at(2, 2).a, 0);  // the stamped dot moved off the frame
  EXPECT_EQ(s.frames[3].at(0, 2), (Rgba{255, 0, 0, 255}));
}

TEST(SpriteSheet, ScaleOutlineGradientAndPlainFrames) {
  SpriteSheet s = Parse(
      "image t.png\nframe-size 6 6\ngrid-size 2 2\nscale 2\nplace 1 1\nframes 2\n"
      "colour a #ffffff\ncolour k #000000\noutline k\nplain 1 1\n"
      "gradient a 1 4 #ffffff #000000\n"
      "frame 0\na.\n..\n"
      "frame 1 = 0\n");
  const Image& f = s.frames[0];
  EXPECT_EQ(f.at(1, 1), (Rgba{255, 255, 255, 255}));  // top of the gradient
  EXPECT_EQ(f.at(2, 2).a, 255);                       // scaled to a 2 x 2 block
  EXPECT_LT(f.at(2, 2).r, 255);
  EXPECT_EQ(f.at(0, 1), (Rgba{0, 0, 0, 255}));  // outline beside it
  EXPECT_EQ(f.at(0, 0).a, 0);                   // but not on the diagonal
  EXPECT_EQ(f.at(3, 3).a, 0);
  EXPECT_EQ(s.frames[1].at(0, 1).a, 0);  // a plain frame has no outline
  EXPECT_EQ(s.shapes[0].at(0, 1).a, 0);  // the bare shape has none either
}

TEST(SpriteSheet, TextWiderThanItsFramesIsRejected) {
  // "1771" is 1+1+2+1+2+1+1 = 9 columns wide, one more than two frames of 4.
  EXPECT_EQ(ErrorOf("image t.png\nframe-size 4 3\nframes 2\ncolour o #ffffff\n"
                    "part 1 1 3\no\no\no\n"
                    "part 7 2 3\noo\n.o\n.o\n"
                    "frame 0 1 = text \"1771\"\n"),
            "sheet.txt:13: the text \"1771\" does not fit");
}

TEST(SpriteSheet, TextCentresOverTheFramesItSpans) {
  SpriteSheet s = Parse(
      "image t.png\nframe-size 4 3\nframes 2\ncolour o #ffffff\ncolour e #00ffff\n"
      "part 1 1 3\no\no\no\n"
      "frame 0 1 = text \"111\" swap oe\n");
  // Five columns (1 . 1 . 1) centred over eight: columns 1, 3 and 5.
  EXPECT_EQ(s.frames[0].at(1, 0), (Rgba{0, 255, 255, 255}));
  EXPECT_EQ(s.frames[0].at(3, 2), (Rgba{0, 255, 255, 255}));
  EXPECT_EQ(s.frames[1].at(1, 1), (Rgba{0, 255, 255, 255}));
  EXPECT_EQ(s.frames[0].at(0, 0).a, 0);
  EXPECT_EQ(s.frames[1].at(0, 0).a, 0);
}

TEST(SpriteSheet, MalformedSheetsAreRejectedWithFileAndLine) {
  std::string h = kHeader;  // 5 lines
  EXPECT_EQ(ErrorOf(h + "frame 0\nab..\n.a\n....\nframe 1 = blank\n"),
            "sheet.txt:8: grid row has 2 characters, expected 4");
  EXPECT_EQ(ErrorOf(h + "frame 0\nab..\nzz..\n....\nframe 1 = blank\n"),
            "sheet.txt:8: unknown colour character 'z' in frame 0");
  EXPECT_EQ(ErrorOf(h + "frame 0\nab.."), "sheet.txt:7: the grid ends after 1 of 3 rows");
  EXPECT_EQ(ErrorOf(h + "frame 0\nab..\n"), "sheet.txt:8: grid row has 0 characters, expected 4");
  EXPECT_EQ(ErrorOf(h + "frame 0 = blank\n"),
            "sheet.txt: frame 1 is missing (write \"frame 1 = blank\" for an empty one)");
  EXPECT_EQ(ErrorOf(h + "frame 0 = 1 mirror\n"),
            "sheet.txt:6: frame 1 is not defined above this line");
  EXPECT_EQ(ErrorOf(h + "frame 0 = blank\nframe 0 = blank\n"),
            "sheet.txt:7: frame 0 is defined twice");
  EXPECT_EQ(ErrorOf(h + "frame 0 = blank\nframe 1 = 0 twirl\n"),
            "sheet.txt:7: unknown operation \"twirl\" (mirror, flip, move, swap, stamp)");
  EXPECT_EQ(ErrorOf(h + "sparkle 3\n"), "sheet.txt:6: unknown keyword \"sparkle\"");
  EXPECT_EQ(ErrorOf(h + "colour c #12345\n"),
            "sheet.txt:6: \"#12345\" is not a colour (write #rrggbb, #rrggbbaa or none)");
  EXPECT_EQ(ErrorOf(h + "colour a #000000\n"), "sheet.txt:6: colour 'a' is defined twice");
  EXPECT_EQ(ErrorOf(h + "frame x\n"), "sheet.txt:6: expected a whole number, found \"x\"");
  EXPECT_EQ(ErrorOf("image t.png\nframes 1\nframe 0 = blank\n"),
            "sheet.txt:3: \"frame-size W H\" must come before the first grid");
  EXPECT_EQ(
      ErrorOf("image t.png\nframe-size 4 4\nscale 2\ngrid-size 3 3\nframes 1\nframe 0 = blank\n"),
      "sheet.txt:6: the scaled grid does not fit into the frame");
  EXPECT_EQ(ErrorOf("frame-size 4 4\nframes 1\nframe 0 = blank\n"),
            "sheet.txt: no \"image NAME\" line");
  EXPECT_EQ(ErrorOf(h + "frame 0 = blank\nframe 1 = blank\nframe 2 = blank\n"),
            "sheet.txt:8: frame 2 lies past \"frames 2\"");
  EXPECT_EQ(ErrorOf(h + "frame 0 1 = 0\n"), "sheet.txt:6: only text is spread over several frames");
  EXPECT_EQ(ErrorOf(h + "frame 0 1 = text \"9\"\n"),
            "sheet.txt:6: no glyph part named \"9\" above this line");
}

}  // namespace
}  // namespace mediagen
