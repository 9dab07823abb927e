// The CPU renderer and OpenGL draw the same picture: every screen the stage tool's screenshot
// script shows, each frame drawn by both renderers at once (--renderer both: the very same draw
// calls), compared pixel by pixel. Where they differ, the table says by how much and why.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/graphics/png_decoder.h"
#include "run_binary.h"

namespace zrb {
namespace {

using zrb::testing::BinaryRun;
using zrb::testing::ReadWholeFile;

struct Difference {
  long pixels = 0;   // pixels with any channel apart
  int largest = 0;   // the largest difference of a channel
  long beyond2 = 0;  // pixels with a channel more than 2 apart
};

bool Decode(const std::string& path, graphics::DecodedImage& image) {
  const std::string bytes = ReadWholeFile(path);
  return !bytes.empty() &&
         graphics::DecodePng({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()},
                             graphics::Rgb{}, path, image);
}

Difference Compare(const graphics::DecodedImage& a, const graphics::DecodedImage& b) {
  Difference difference;
  for (size_t i = 0; i < a.rgba.size(); i += 4) {
    int largest = 0;
    for (size_t c = 0; c < 4; ++c)
      largest = std::max(largest, std::abs(a.rgba[i + c] - b.rgba[i + c]));
    difference.pixels += largest > 0;
    difference.beyond2 += largest > 2;
    difference.largest = std::max(difference.largest, largest);
  }
  return difference;
}

TEST(RendererPictures, EveryStageScreenIsTheSameOnTheProcessorAsInOpenGl) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (the suite runs under xvfb-run)";
  BinaryRun run;
  const std::string out = run.Path("shots");
  const auto result = run.Run(TAKE_SCREENSHOTS, std::string(TUNDREL_BUILD_DIR) + " " + out,
                              "STAGE_RENDERER=both SDL_AUDIODRIVER=dummy"
#ifdef KEEP_LIBRARIES_LOADED
                              // What Mesa keeps in libraries SDL closes again is not ours.
                              " STAGE_PRELOAD=" KEEP_LIBRARIES_LOADED
#endif
  );
  ASSERT_EQ(result.exitStatus, 0) << result.out << result.err;

  // Bounds: differing pixels, the largest channel difference, pixels more than 2 apart.
  const struct {
    const char* picture;
    Difference bound;
  } screens[] = {
      // Whole-pixel sprites, tiles, glyphs and rectangles: every pixel one texel centre, the
      // same in both.
      {"round01_back1", {}},
      {"round05_back2", {}},
      {"round10_back3", {}},
      {"round15_back4", {}},
      {"round20_back5", {}},
      {"round41_mixed", {}},
      {"round03_bonus", {}},
      {"round01_scanlines", {}},
      {"round12_nella_power", {}},
      {"celebration_late", {}},
      {"title_card", {}},
      {"bonus_round_card", {}},
      {"spraying", {}},
      {"bonus_tally", {}},
      {"bonus_title", {}},
      {"freeze_nets", {}},
      {"nets", {}},
      {"game_over", {}},
      {"caught_spider", {}},
      {"freeze_flame", {}},
      {"caught_flame", {}},
      {"confirm_quit", {}},
      {"quit_screen", {}},
      {"no_bonus", {}},
      {"out_of_time", {}},
      // The hearts flying up turn and grow: their texels are filtered, and the two renderers
      // round the 8-bit filter weights apart (seen: 67 pixels, by at most 2).
      {"celebration_early", {400, 3, 0}},
  };
  for (const auto& screen : screens) {
    SCOPED_TRACE(screen.picture);
    graphics::DecodedImage gl, cpu;
    ASSERT_TRUE(Decode(out + "/" + screen.picture + ".png", gl));
    ASSERT_TRUE(Decode(out + "/" + screen.picture + "-cpu.png", cpu));
    ASSERT_TRUE(gl.width == 640 && gl.height == 480 && cpu.width == 640 && cpu.height == 480);
    const Difference d = Compare(gl, cpu);
    std::printf("%-24s %7ld pixels differ, by at most %3d, %7ld by more than 2\n", screen.picture,
                d.pixels, d.largest, d.beyond2);
    EXPECT_LE(d.pixels, screen.bound.pixels);
    EXPECT_LE(d.largest, screen.bound.largest);
    EXPECT_LE(d.beyond2, screen.bound.beyond2);
  }
  // Every picture the script took is in the table.
  int pairs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(out)) {
    const std::string name = entry.path().stem().string();
    if (name.size() > 4 && name.ends_with("-cpu")) ++pairs;
  }
  EXPECT_EQ(pairs, static_cast<int>(std::size(screens)));
}

}  // namespace
}  // namespace zrb
