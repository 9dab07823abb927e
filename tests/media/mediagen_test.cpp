// The media generator: what its text sources describe, what it refuses (with file and line),
// the sets it writes, and its sound encoders.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "support/scratch_dir.h"
#include "tools/mediagen/audio_files.h"
#include "tools/mediagen/catalogue.h"
#include "tools/mediagen/generator.h"
#include "tools/mediagen/picture.h"
#include "tools/mediagen/png_io.h"
#include "tools/mediagen/score.h"
#include "tools/mediagen/sprite_sheet.h"

namespace mediagen {
namespace {

namespace fs = std::filesystem;

constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 255};

SpriteSheet Sheet(const std::string& text) {
  return ParseSpriteSheet(SourceText::FromString("sheet.txt", text));
}

std::map<std::string, SpriteSheet> DotSheet() {
  return {{"dot.png", Sheet("image dot.png\nframe-size 2 2\nframes 1\ncolour a #ff0000\nframe 0\n"
                            "a.\n..\n")}};
}

struct Mistake {
  const char* kind;
  const char* text;
  const char* message;
};

const Mistake kMistakes[] = {
    {"sheet", "image t.png\nframe-size 4 3\nframes 1\ncolour a #f00\n",
     "sheet.txt:4: \"#f00\" is not a colour (write #rrggbb, #rrggbbaa or none)"},
    {"sheet", "image t.png\nframe-size 2 1\nframes 1\nframe 0\na.\n",
     "sheet.txt:5: unknown colour character 'a' in frame 0"},
    {"sheet", "image t.png\nframe-size 2 1\nframes 2\nframe 0 = blank\n",
     "sheet.txt: frame 1 is missing (write \"frame 1 = blank\" for an empty one)"},
    {"sheet", "image t.png\nframe-size 2 1\nframes 2\nframe 0 = blank\nframe 1 = 0 twirl\n",
     "sheet.txt:5: unknown operation \"twirl\" (mirror, flip, move, swap, stamp)"},
    {"score",
     "output t.wav\ntempo 120\nvoice l square\nvoice k drums\npattern a\n  l a4 . .\n"
     "  k k .\nplay a\n",
     "tune.txt:7: voice \"k\" has 2 steps in pattern \"a\" but \"l\" has 3"},
    {"score", "output t.wav\ntempo 120\nvoice l square\npattern a\n  l a4 q4\nplay a\n",
     "tune.txt:5: \"q4\" is not a note (c4, f#3, bb5, c4>g4), a hold \".\" or a rest \"-\""},
    {"score", "output t.wav\ntempo 120\nvoice l sine\npattern a\n  l a4\n",
     "tune.txt: no \"play\" line"},
    {"picture", "image p.png\nfill #ffffff\n", "pic.txt:2: \"size W H\" must come before drawing"},
    {"picture", "image p.png\nsize 4 4\nsprite dot.png 3 0 0\n",
     "pic.txt:3: number 3 is outside 0..0"},
    {"catalogue", "a.png picture\na.png picture\n", "catalogue.txt:2: \"a.png\" is listed twice"},
    {"catalogue", "a.png movie\n",
     "catalogue.txt:1: unknown kind \"movie\" (strip, picture, sound, music)"},
};

TEST(MediaSources, MistakesAreReportedWithFileAndLine) {
  const std::map<std::string, std::function<void(const std::string&)>> parsers = {
      {"sheet", [](const std::string& t) { Sheet(t); }},
      {"score", [](const std::string& t) { ParseScore(SourceText::FromString("tune.txt", t)); }},
      {"picture",
       [](const std::string& t) {
         PaintPicture(SourceText::FromString("pic.txt", t), DotSheet());
       }},
      {"catalogue",
       [](const std::string& t) { ParseCatalogue(SourceText::FromString("catalogue.txt", t)); }},
  };
  for (const Mistake& m : kMistakes) {
    std::string message = "(accepted)";
    try {
      parsers.at(m.kind)(m.text);
    } catch (const SourceError& e) {
      message = e.what();
    }
    EXPECT_EQ(message, m.message) << m.kind << ": " << m.text;
  }
}

// A throw-away media folder with a catalogue, one strip and one sound.
class MediaSet : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "sprites");
    fs::create_directories(dir_ / "sounds");
    Write("sprites/dots.txt",
          "image dots.png\nframe-size 2 2\nframes 2\ncolour a #ff0000\nframe 0\na.\n..\n"
          "frame 1 = 0 mirror\n");
    Write("sounds/beep.txt",
          "output _beep.wav\ntempo 600\nvoice v square\npattern p\n  v c6 e6\nplay p\n");
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name) << text;
  }
  zrb::testing::ScratchDir scratch_;
  const fs::path dir_ = scratch_.Root();
};

TEST_F(MediaSet, EveryCatalogueFileIsMadeAsTheGameCutsIt) {
  Write("catalogue.txt", "dots.png strip 2 2 2\n_beep.wav sound\n");
  WriteMedia(GenerateMedia(dir_), dir_ / "out");
  const Image dots = ReadPng(dir_ / "out" / "dots.png");
  EXPECT_EQ(dots.width(), 4);
  EXPECT_EQ(dots.at(3, 0), kRed);
  EXPECT_EQ(InspectWav(ReadFileBytes(dir_ / "out" / "_beep.wav")).error, "");

  const std::pair<const char*, const char*> mismatches[] = {
      {"dots.png strip 2 2 2\n_beep.wav sound\nend.png picture\n",
       "no source makes these catalogue files: end.png"},
      {"dots.png strip 2 2 3\n_beep.wav sound\n",
       "catalogue.txt:1: dots.png has 2 frames, the game draws 3"},
      {"dots.png strip 1 2 2\n_beep.wav sound\n",
       "catalogue.txt:1: dots.png has frames of 2x2, the game cuts it into 1x2"},
  };
  for (const auto& [catalogue, message] : mismatches) {
    Write("catalogue.txt", catalogue);
    std::string error;
    try {
      GenerateMedia(dir_);
    } catch (const std::exception& e) {
      error = e.what();
    }
    EXPECT_EQ(error, message);
  }
}

}  // namespace
}  // namespace mediagen
