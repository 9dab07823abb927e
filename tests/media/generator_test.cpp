#include "tools/mediagen/generator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tools/mediagen/contact_sheet.h"
#include "tools/mediagen/png_io.h"

namespace mediagen {
namespace {

namespace fs = std::filesystem;

// A throw-away media folder with a catalogue, one strip and one sound.
class GeneratorTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("mediagen_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sprites");
    fs::create_directories(dir_ / "sounds");
    Write("catalogue.txt", "dots.png strip 2 2 2\n_beep.wav sound\n");
    Write("sprites/dots.txt",
          "image dots.png\nframe-size 2 2\nframes 2\ncolour a #ff0000\nframe 0\na.\n..\nframe 1 = "
          "0 mirror\n");
    Write("sounds/beep.txt",
          "output _beep.wav\ntempo 600\nvoice v square\npattern p\n  v c6 e6\nplay p\n");
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name) << text;
  }
  std::string ErrorOf() {
    try {
      GenerateMedia(dir_);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
  fs::path dir_;
};

TEST_F(GeneratorTest, MakesAndWritesEveryCatalogueFile) {
  MediaSet set = GenerateMedia(dir_);
  ASSERT_EQ(set.files.size(), 2u);
  WriteMedia(set, dir_ / "out");
  Image dots = ReadPng(dir_ / "out" / "dots.png");
  EXPECT_EQ(dots.width(), 4);
  EXPECT_EQ(dots.at(0, 0), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(dots.at(3, 0), (Rgba{255, 0, 0, 255}));
  EXPECT_TRUE(fs::is_regular_file(dir_ / "out" / "_beep.wav"));
  WriteContactSheets(set, dir_ / "sheets");
  EXPECT_TRUE(fs::is_regular_file(dir_ / "sheets" / "dots_sheet.png"));
}

TEST_F(GeneratorTest, RefusesAnIncompleteOrMismatchedSet) {
  Write("catalogue.txt", "dots.png strip 2 2 2\n_beep.wav sound\nend.png picture\n");
  EXPECT_EQ(ErrorOf(), "no source makes these catalogue files: end.png");
  Write("catalogue.txt", "dots.png strip 2 2 3\n_beep.wav sound\n");
  EXPECT_EQ(ErrorOf(), "catalogue.txt:1: dots.png has 2 frames, the game draws 3");
  Write("catalogue.txt", "dots.png strip 1 2 2\n_beep.wav sound\n");
  EXPECT_EQ(ErrorOf(), "catalogue.txt:1: dots.png has frames of 2x2, the game cuts it into 1x2");
  Write("catalogue.txt", "dots.png strip 2 2 2\n");
  EXPECT_NE(ErrorOf().find("\"_beep.wav\" is not in the catalogue"), std::string::npos);
  Write("catalogue.txt", "dots.png strip 2 2 2\n_beep.wav music\n");
  EXPECT_NE(ErrorOf().find("_beep.wav is made as the wrong kind of file"), std::string::npos);
  Write("catalogue.txt", "dots.png strip 2 2 2\n_beep.wav sound\n");
  Write("sprites/again.txt", "image dots.png\nframe-size 2 2\nframes 1\nframe 0 = blank\n");
  EXPECT_NE(ErrorOf().find("\"dots.png\" is made twice"), std::string::npos);
}

TEST_F(GeneratorTest, PartialRunsSkipTheCatalogueCheck) {
  Write("catalogue.txt", "dots.png strip 2 2 2\n_beep.wav sound\nend.png picture\n");
  GenerateOptions options;
  options.requireAll = false;
  options.sounds = false;
  EXPECT_EQ(GenerateMedia(dir_, options).files.size(), 1u);
}

TEST(ContactSheet, FramesAreDoubledOnANumberedGrid) {
  Image strip(6, 2, Rgba{0, 0, 255, 255});
  Image sheet = ContactSheet(strip, 2, 2, 2);
  // Three cells of a 32-pixel label, a 4-pixel frame and a 6-pixel gap, after a 6-pixel edge.
  EXPECT_EQ(sheet.width(), 6 + 3 * (32 + 4 + 6));
  EXPECT_EQ(sheet.height(), 6 + 4 + 6);
  int x = 6 + 42 + 32;  // frame 1, doubled
  EXPECT_EQ(sheet.at(x, 6), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(sheet.at(x + 3, 9), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(ContactSheet(strip, 2, 2, 2, 1).width(), 6 + 42);  // only the frames asked for
}

}  // namespace
}  // namespace mediagen
