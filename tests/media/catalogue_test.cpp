#include "tools/mediagen/catalogue.h"

#include <gtest/gtest.h>

namespace mediagen {
namespace {

std::string ErrorOf(const std::string& text) {
  try {
    ParseCatalogue(SourceText::FromString("catalogue.txt", text));
  } catch (const SourceError& e) {
    return e.what();
  }
  return "";
}

TEST(Catalogue, EntriesKeepTheirKindAndStripShape) {
  auto entries =
      ParseCatalogue(SourceText::FromString("catalogue.txt",
                                            "# the game's files\ntiles.png strip 32 32 14\nend.png "
                                            "picture\n\n_a.wav sound\n_b.mp3 music\n"));
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, "tiles.png");
  EXPECT_EQ(entries[0].kind, EntryKind::kStrip);
  EXPECT_EQ(entries[0].minFrames, 14);
  EXPECT_EQ(entries[0].line, 1u);
  EXPECT_EQ(entries[1].kind, EntryKind::kPicture);
  EXPECT_EQ(entries[2].kind, EntryKind::kSound);
  EXPECT_EQ(entries[3].kind, EntryKind::kMusic);
}

TEST(Catalogue, MistakesAreReportedWithTheirLine) {
  EXPECT_EQ(ErrorOf("a.png picture\na.png picture\n"),
            "catalogue.txt:2: \"a.png\" is listed twice");
  EXPECT_EQ(ErrorOf("a.png strip 32 32\n"), "catalogue.txt:1: \"strip\" takes 3 value(s) after it");
  EXPECT_EQ(ErrorOf("a.png movie\n"),
            "catalogue.txt:1: unknown kind \"movie\" (strip, picture, sound, music)");
  EXPECT_EQ(ErrorOf("a.png\n"),
            "catalogue.txt:1: write \"NAME strip W H FRAMES\", \"NAME picture\", \"NAME sound\" or "
            "\"NAME music\"");
  EXPECT_EQ(ErrorOf("# nothing\n"), "catalogue.txt: the catalogue is empty");
}

}  // namespace
}  // namespace mediagen
