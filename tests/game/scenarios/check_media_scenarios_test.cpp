// tundrel --check-media over folders of made-up media files.
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "audio/support/audio_files.h"
#include "game/harness/game_run.h"
#include "test_images.h"

namespace tundrel::testing {
namespace {

struct Image {
  const char* name;
  int width;  // a strip's frame size, or a whole picture's size
  int height;
  bool strip;
};

const Image kImages[] = {
    {"back1.png", 544, 192, true},    {"back2.png", 544, 192, true},
    {"back3.png", 544, 192, true},    {"back4.png", 544, 192, true},
    {"back5.png", 544, 192, true},    {"tiles.png", 32, 32, true},
    {"font1.png", 16, 16, true},      {"player.png", 32, 32, true},
    {"items.png", 32, 32, true},      {"enemies.png", 32, 32, true},
    {"particles.png", 32, 32, true},  {"webs.png", 32, 32, true},
    {"spray.png", 48, 48, true},      {"back0.png", 544, 384, false},
    {"mainmenu.png", 64, 48, false},  {"end.png", 64, 48, false},
    {"scanlines.png", 64, 48, false},
};
const char* const kWaves[] = {
    "_ding.wav",        "_blip.wav",      "_ItemTaken.wav", "_Suckintoweb.wav", "_webshot.wav",
    "_spraysound2.wav", "_allhearts.wav", "_item1.wav",     "_item2.wav",       "_extralife.wav",
    "_hitbird.wav",     "_hitspider.wav", "_highscore.wav", "_nohighscore.wav"};
const char* const kMusic[] = {"_LevelComplete.mp3", "_InGame2.mp3", "_InGame3.mp3",
                              "_dead.mp3",          "_theme.mp3",   "_ingamebonuslevel.mp3"};
constexpr int kEntries = 17 + 20;

Bytes Png(int width, int height) {
  zrb::testing::PngContent content;
  content.width = width;
  content.height = height;
  content.colourType = PNG_COLOR_TYPE_RGB;
  content.samples.assign(static_cast<size_t>(width) * height * 3, 200);
  return zrb::testing::EncodePng(content);
}

void WriteCompleteMedia(const GameRun& game) {
  for (const Image& image : kImages) {
    game.WriteFile(image.name, image.strip ? Png(image.width * 2, image.height)
                                           : Png(image.width, image.height));
  }
  for (const char* wave : kWaves) {
    game.WriteFile(wave, zrb::audio::testing::ToneWave(120, 1, 22050, 16));
  }
  const Bytes music = zrb::audio::testing::EncodeToneMp3(600, 22050, true).bytes;
  for (const char* piece : kMusic)
    game.WriteFile(piece, music);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// The report line of the named file.
std::string LineOf(const RunResult& run, const std::string& name) {
  for (const std::string& line : Lines(run.out)) {
    if (line.find(" " + name + " ") != std::string::npos) return line;
  }
  return "";
}

bool Good(const std::string& line) {
  return line.find(" ok ") != std::string::npos;
}

RunResult CheckMedia(const GameRun& game) {
  return game.Run(Script(), 100, {"--check-media"});
}

TEST(CheckMedia, AnEmptyFolderFailsOnEveryEntry) {
  GameRun game;
  const RunResult run = CheckMedia(game);
  EXPECT_EQ(run.exitCode, 1) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), static_cast<size_t>(kEntries + 1));
  EXPECT_EQ(lines.back(), "37 entries, 37 bad");
  EXPECT_EQ(LineOf(run, "back1.png").rfind("image 12  back1.png", 0), 0u);
  EXPECT_NE(LineOf(run, "_blip.wav").find("BAD"), std::string::npos);
  EXPECT_NE(LineOf(run, "_theme.mp3").find("not found"), std::string::npos);
  EXPECT_FALSE(game.Exists("settings.cfg"));  // nothing is saved, no menu is shown
  for (const TraceFrame& frame : run.trace)
    EXPECT_NE(frame.Text("screen"), "title");
}

TEST(CheckMedia, ACompleteSetPasses) {
  GameRun game;
  WriteCompleteMedia(game);
  const RunResult run = CheckMedia(game);
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(Lines(run.out).back(), "37 entries, 0 bad");
  EXPECT_EQ(LineOf(run, "back1.png"),
            "image 12  back1.png              ok   1088x192, 2 frames of 544x192");
  EXPECT_EQ(LineOf(run, "end.png"), "image  2  end.png                ok   64x48");
  EXPECT_EQ(LineOf(run, "_blip.wav"), "sound  3  _blip.wav              ok   0.120 s");
  const std::string theme = LineOf(run, "_theme.mp3");
  EXPECT_EQ(theme.rfind("music  9  _theme.mp3             ok   found, playable, 0.6", 0), 0u)
      << theme;
}

TEST(CheckMedia, NamesEachBadFile) {
  GameRun game;
  WriteCompleteMedia(game);
  Bytes font = game.ReadFile("font1.png");
  font.resize(font.size() / 2);
  game.WriteFile("font1.png", font);
  game.WriteFile("spray.png", Png(40, 40));  // smaller than one 48 x 48 frame
  game.WriteFile("_blip.wav", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'});
  game.WriteFile("_dead.mp3", Bytes(3000, 0x55));
  const RunResult run = CheckMedia(game);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Lines(run.out).back(), "37 entries, 4 bad");
  EXPECT_FALSE(Good(LineOf(run, "font1.png")));
  EXPECT_NE(LineOf(run, "spray.png").find("40x40, smaller than one 48x48 frame"),
            std::string::npos);
  EXPECT_FALSE(Good(LineOf(run, "_blip.wav")));
  EXPECT_NE(LineOf(run, "_dead.mp3").find("found, not playable"), std::string::npos);
  EXPECT_TRUE(Good(LineOf(run, "tiles.png")));
  EXPECT_TRUE(Good(LineOf(run, "_theme.mp3")));
}

TEST(CheckMedia, TheBuiltArchivePasses) {
  if (!std::filesystem::exists(TUNDREL_MEDIA_ARCHIVE)) GTEST_SKIP() << "no Media.sbx built";
  GameRun game;
  std::filesystem::create_symlink(TUNDREL_MEDIA_ARCHIVE, game.Dir() / "Media.sbx");
  const RunResult run = CheckMedia(game);
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(Lines(run.out).back(), "37 entries, 0 bad");
}

// Without --check-media the game still starts when pictures are missing, and says so once.
TEST(CheckMedia, APlainRunWarnsAboutMissingPicturesOnly) {
  GameRun empty;
  RunResult run = empty.Run(Script(), 30);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("tundrel: 17 of 17 pictures could not be loaded; is Media.sbx in the "
                         "game's folder?"),
            std::string::npos)
      << run.err;

  GameRun oneShort;
  WriteCompleteMedia(oneShort);
  std::filesystem::remove(oneShort.Dir() / "tiles.png");
  run = oneShort.Run(Script(), 30);
  EXPECT_NE(run.err.find("1 of 17 pictures"), std::string::npos) << run.err;

  GameRun complete;
  WriteCompleteMedia(complete);
  run = complete.Run(Script(), 30);
  EXPECT_EQ(run.err.find("pictures could not be loaded"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tundrel::testing
