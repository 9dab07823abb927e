// PrintText and DrawPlayfield against the headless renderer, read back from the draw log.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/graphics/graphics_system.h"
#include "engine/values/engine_array.h"
#include "game/catalogue.h"
#include "game/harness/draw_log.h"
#include "game/state.h"
#include "game/text.h"

namespace tundrel {
namespace {

using testing::DrawFrame;

class DrawnFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    logPath_ = (std::filesystem::temp_directory_path() /
                ("tundrel_draw_" + std::to_string(::getpid()) + ".log"))
                   .string();
    zrb::graphics::SetDrawLogPath(logPath_);
    ASSERT_TRUE(zrb::graphics::InitGraphics(true, 640, 480));
  }
  void TearDown() override {
    zrb::graphics::ShutdownGraphics();
    zrb::graphics::SetDrawLogPath("");
    std::filesystem::remove(logPath_);
  }

  // Ends the frame and reads back what it drew.
  DrawFrame Finish() {
    zrb::graphics::BeforeSwap(1);
    zrb::graphics::ShutdownGraphics();
    const auto frames = testing::ReadDrawLog(logPath_);
    EXPECT_EQ(frames.size(), 1u);
    return frames.empty() ? DrawFrame{} : frames.front();
  }

  std::string logPath_;
};

TEST_F(DrawnFrameTest, PrintTextDrawsOneGlyphPerColumn) {
  PrintText("Keys are: 10%", 6, 280);
  const DrawFrame frame = Finish();
  ASSERT_EQ(frame.Count("DrawAnim"), 13);
  EXPECT_TRUE(frame.Has("DrawAnim", {imgFont, 43, 96, 280}));        // capital K as small k
  EXPECT_TRUE(frame.Has("DrawAnim", {imgFont, 26, 96 + 128, 280}));  // ':' in column 14
  EXPECT_TRUE(frame.Has("DrawAnim", {imgFont, 0, 96 + 144, 280}));   // the blank is drawn
  EXPECT_TRUE(frame.Has("DrawAnim", {imgFont, 4, 96 + 192, 280}));   // '%'
  EXPECT_EQ(frame.TextAt(280), "keys are: 10%");
}

TEST_F(DrawnFrameTest, CharactersTheFontLacksKeepTheFollowingColumns) {
  PrintText("a~b", 0, 0);
  const DrawFrame frame = Finish();
  EXPECT_EQ(frame.Count("DrawAnim"), 2);
  EXPECT_TRUE(frame.Has("DrawAnim", {imgFont, 34, 32, 0}));
}

class PlayfieldTest : public DrawnFrameTest {
 protected:
  void SetUp() override {
    DrawnFrameTest::SetUp();
    zrb::DimArray(mazeGrid, kMazeColumns, kMazeRows);
    zrb::DimArray(items, 0);
    mazeGrid(1, 1) = 8;
    mazeGrid(15, 10) = 8;
    mazeGrid(5, 3) = 1;
    mazeGrid(6, 3) = 9;  // border code: nothing drawn inside the maze
    backdropSlot = imgBack3;
    wallFrame = 4;
    score = 1234;
    lives = 2;
    timer = 54059;
    round = 7;
  }
};

TEST_F(PlayfieldTest, DrawsStatusFloorBackdropMazeNoticeAndCage) {
  DrawPlayfield(1);
  const DrawFrame frame = Finish();
  EXPECT_EQ(frame.TextAt(16), "score|001234 lives|2 time|900 round|07");
  EXPECT_EQ(frame.TextColumnAt(16), 1);
  EXPECT_EQ(frame.TextAt(450), makerNotice);
  EXPECT_EQ(frame.TextColumnAt(450), 9);

  int floor = 0;
  for (const auto& call : frame.calls) {
    if (call.op == "DrawAnim" && call.args[0] == imgTiles && call.args[1] == 13) ++floor;
  }
  EXPECT_EQ(floor, 150);
  EXPECT_TRUE(frame.Has("DrawAnim", {imgTiles, 13, 80, 80}));
  EXPECT_TRUE(frame.Has("DrawAnim", {imgTiles, 13, 80 + 32 * 14, 80 + 32 * 9}));

  EXPECT_TRUE(frame.Has("DrawAnim", {imgBack3, 0, 48, 48}));
  EXPECT_TRUE(frame.Has("DrawAnim", {imgBack3, 1, 48, 240}));
  EXPECT_TRUE(frame.Has("DrawAnim", {imgTiles, 4, 80, 80}));
  EXPECT_TRUE(frame.Has("DrawAnim", {imgTiles, 4, 48 + 32 * 15, 48 + 32 * 10}));
  EXPECT_TRUE(frame.Has("DrawAnim", {imgItems, 2, 48 + 32 * 5, 48 + 32 * 3}));
  int walls = 0;
  for (const auto& call : frame.calls) {
    if (call.op == "DrawAnim" && call.args[0] == imgTiles && call.args[1] == 4) ++walls;
  }
  EXPECT_EQ(walls, 2);
  EXPECT_TRUE(frame.Has("DrawAnim", {imgItems, 0, 304, 80}));
}

TEST_F(PlayfieldTest, LowerBackdropHalfComesAfterTheMaze) {
  DrawPlayfield(1);
  const DrawFrame frame = Finish();
  int upper = -1, wall = -1, lower = -1;
  for (int i = 0; i < static_cast<int>(frame.calls.size()); ++i) {
    const auto& call = frame.calls[i];
    if (call.op != "DrawAnim") continue;
    if (call.args == std::vector<double>{imgBack3, 0, 48, 48}) upper = i;
    if (call.args == std::vector<double>{imgTiles, 4, 80, 80}) wall = i;
    if (call.args == std::vector<double>{imgBack3, 1, 48, 240}) lower = i;
  }
  EXPECT_LT(upper, wall);
  EXPECT_LT(wall, lower);
}

TEST_F(PlayfieldTest, BonusRoundsHaveNoCage) {
  DrawPlayfield(0);
  const DrawFrame frame = Finish();
  EXPECT_FALSE(frame.Has("DrawAnim", {imgItems, 0, 304, 80}));
}

TEST_F(PlayfieldTest, ItemShadowsSwingEightDegreesPerFrame) {
  zrb::DimArray(items, 2);
  for (int i = 0; i < 2; ++i) {
    items(i).type = 14;
    items(i).x = 112 + 96 * i;
    items(i).y = 144;
    items(i).life = 1000;  // the items themselves stay for this frame
  }
  items(0).shadowAngle = 82;   // 90 degrees after this frame: the lowest frame, 23
  items(1).shadowAngle = 356;  // past 359: back to 0 degrees, the middle frame
  DrawPlayfield(1);
  const DrawFrame frame = Finish();
  EXPECT_EQ(items(0).shadowAngle, 90);
  EXPECT_EQ(items(1).shadowAngle, 0);
  EXPECT_TRUE(frame.Has("DrawAnim", {imgItems, 23, 112, 152}));
  EXPECT_TRUE(frame.Has("DrawAnim", {imgItems, 28, 208, 152}));
}

}  // namespace
}  // namespace tundrel
