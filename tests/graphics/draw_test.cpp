// What each drawing operation asks of the renderer: corners, texture coordinates, blending,
// alpha test and colour, as recorded by the headless renderer; and the --draw-log file.
#include "engine/graphics/draw.h"

#include <fstream>
#include <sstream>

#include "graphics_fixture.h"

namespace zrb::testing {
namespace {

using graphics::BlendMode;
using graphics::RecordedCommand;

class Drawing : public HeadlessGraphicsTest {
 protected:
  // Loads a width x height picture as a strip of frameWidth x frameHeight frames.
  void LoadStrip(int slot, int width, int height, int frameWidth, int frameHeight) {
    LoadAnim(SaveBmp("strip" + std::to_string(slot) + ".bmp", Picture(width, height, {1, 1, 1})),
             slot, frameWidth, frameHeight);
    ASSERT_EQ(RuntimeError().code, kErrorSuccess);
  }

  std::vector<RecordedCommand> Draws() const {
    std::vector<RecordedCommand> draws;
    for (const RecordedCommand& command : recorder_->FrameCommands()) {
      if (command.kind != RecordedCommand::Kind::kClear) draws.push_back(command);
    }
    return draws;
  }

  const graphics::TexturedQuad& OnlyQuad() {
    quads_ = Draws();
    EXPECT_EQ(quads_.size(), 1u);
    if (quads_.empty()) quads_.resize(1);
    return quads_[0].textured;
  }

  std::vector<RecordedCommand> quads_;
};

void ExpectCorner(const graphics::QuadVertex& v, float x, float y, float u, float t) {
  EXPECT_FLOAT_EQ(v.x, x);
  EXPECT_FLOAT_EQ(v.y, y);
  EXPECT_FLOAT_EQ(v.u, u);
  EXPECT_FLOAT_EQ(v.v, t);
}

TEST_F(Drawing, SpriteCoversItsImageWithTheTopLeftAtTheTopOfTheTexture) {
  LoadSprite(SaveBmp("s.bmp", Picture(20, 10, {1, 1, 1})), 3);
  DrawSprite(3, 100, 50);
  const graphics::TexturedQuad& quad = OnlyQuad();
  EXPECT_EQ(quad.texture, Record(3).texture);
  EXPECT_EQ(quad.wrap, graphics::TextureWrap::kRepeat);
  ExpectCorner(quad.corners[0], 100, 50, 0, 10.0f / 16);
  ExpectCorner(quad.corners[1], 120, 50, 20.0f / 32, 10.0f / 16);
  ExpectCorner(quad.corners[2], 120, 60, 20.0f / 32, 0);
  ExpectCorner(quad.corners[3], 100, 60, 0, 0);
  EXPECT_EQ(quad.blend, BlendMode::kOff);
  EXPECT_TRUE(quad.alphaTest);
  EXPECT_EQ(quad.colour, (std::array<float, 4>{1, 1, 1, 1}));
}

TEST_F(Drawing, EmptySlotsAndSlotsWithoutFramesDrawNothing) {
  LoadSprite(SaveBmp("s.bmp", Picture(20, 10, {1, 1, 1})), 3);
  DrawSprite(4, 0, 0);
  DrawSprite(-1, 0, 0);
  DrawAnim(3, 0, 0, 0);  // loaded with LoadSprite: no frame size
  RotoZoomAnim(3, 0, 0, 0, 45, 1);
  DrawAnim(70000, 0, 0, 0);
  EXPECT_TRUE(Draws().empty());
}

TEST_F(Drawing, FrameFiveOfAThreeColumnStripIsColumnTwoOfRowOne) {
  LoadStrip(1, 96, 64, 32, 32);  // texture 128 x 64
  DrawAnim(1, 5, 10, 20);
  const graphics::TexturedQuad& quad = OnlyQuad();
  ExpectCorner(quad.corners[0], 10, 20, 0.5f, 0.5f);
  ExpectCorner(quad.corners[1], 42, 20, 0.75f, 0.5f);
  ExpectCorner(quad.corners[2], 42, 52, 0.75f, 0.0f);
  ExpectCorner(quad.corners[3], 10, 52, 0.5f, 0.0f);
}

TEST_F(Drawing, FramesWiderThanTheImageAllSitInRowZero) {
  LoadStrip(1, 48, 32, 64, 16);  // no whole frame per row; texture 64 x 32
  DrawAnim(1, 3, 0, 0);
  const graphics::TexturedQuad& quad = OnlyQuad();
  EXPECT_FLOAT_EQ(quad.corners[0].u, 3.0f);        // column 3 * 64 / 64
  EXPECT_FLOAT_EQ(quad.corners[3].v, 16.0f / 32);  // row 0: bottom = (32 - 16) / 32
}

TEST_F(Drawing, RotoZoomInsetsHalfATexelAndClampsToTheEdge) {
  LoadStrip(1, 96, 64, 32, 32);
  RotoZoomAnim(1, 5, 10, 20, 0, 1);
  const graphics::TexturedQuad& quad = OnlyQuad();
  EXPECT_EQ(quad.wrap, graphics::TextureWrap::kClampToEdge);
  // Unturned and unscaled it covers the pixels DrawAnim covers.
  ExpectCorner(quad.corners[0], 10, 20, 0.5f + 0.5f / 128, 0.5f - 0.5f / 64);
  ExpectCorner(quad.corners[1], 10, 52, 0.5f + 0.5f / 128, 0.5f / 64);
  ExpectCorner(quad.corners[2], 42, 52, 0.75f - 0.5f / 128, 0.5f / 64);
  ExpectCorner(quad.corners[3], 42, 20, 0.75f - 0.5f / 128, 0.5f - 0.5f / 64);
}

TEST_F(Drawing, RotoZoomTurnsAnticlockwiseAndScalesAboutTheCentre) {
  LoadStrip(1, 32, 16, 32, 16);
  RotoZoomAnim(1, 0, 100, 100, 90, 2);
  const graphics::TexturedQuad& quad = OnlyQuad();
  // Centre (116, 108); half sizes 32 and 16. The frame's right edge (corners 2 and 3) now
  // faces up, its top edge (corners 0 and 3) faces left.
  const float tolerance = 1e-4f;
  EXPECT_NEAR(quad.corners[0].x, 116 - 16, tolerance);
  EXPECT_NEAR(quad.corners[0].y, 108 + 32, tolerance);
  EXPECT_NEAR(quad.corners[2].x, 116 + 16, tolerance);
  EXPECT_NEAR(quad.corners[2].y, 108 - 32, tolerance);
  EXPECT_NEAR(quad.corners[3].x, 116 - 16, tolerance);
  EXPECT_NEAR(quad.corners[3].y, 108 - 32, tolerance);
}

TEST_F(Drawing, AlphaModesSetBlendingTestAndFactor) {
  const graphics::DrawState& state = graphics::Graphics().draw;
  SetAlphaMode(-0.3);
  EXPECT_EQ(state.blend, BlendMode::kTranslucent);
  EXPECT_FALSE(state.alphaTest);
  EXPECT_FLOAT_EQ(state.alphaFactor, 0.3f);
  EXPECT_FLOAT_EQ(state.colour[3], 0.3f);

  SetAlphaMode(0);
  EXPECT_EQ(state.blend, BlendMode::kOff);
  EXPECT_TRUE(state.alphaTest);
  EXPECT_FLOAT_EQ(state.alphaFactor, 1.0f);
  EXPECT_EQ(state.colour, (std::array<float, 4>{1, 1, 1, 1}));

  SetAlphaMode(2);
  EXPECT_EQ(state.blend, BlendMode::kAdditive);
  EXPECT_FLOAT_EQ(state.alphaFactor, 1.0f);
  SetAlphaMode(-2);
  EXPECT_EQ(state.blend, BlendMode::kTranslucent);
  EXPECT_FLOAT_EQ(state.alphaFactor, 1.0f);
  SetAlphaMode(0.5);
  EXPECT_EQ(state.blend, BlendMode::kAdditive);
  EXPECT_FLOAT_EQ(state.colour[3], 0.5f);
  SetAlphaMode(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(state.blend, BlendMode::kOff);

  // Every sprite draw carries the state in force.
  LoadSprite(SaveBmp("s.bmp", Picture(8, 8, {1, 1, 1})), 0);
  SetAlphaMode(0.25);
  DrawSprite(0, 0, 0);
  const graphics::TexturedQuad& quad = OnlyQuad();
  EXPECT_EQ(quad.blend, BlendMode::kAdditive);
  EXPECT_FALSE(quad.alphaTest);
  EXPECT_FLOAT_EQ(quad.colour[3], 0.25f);

  // The per-frame reset.
  graphics::ResetDrawState();
  EXPECT_EQ(state.blend, BlendMode::kOff);
  EXPECT_TRUE(state.alphaTest);
  EXPECT_FLOAT_EQ(state.alphaFactor, 1.0f);
}

TEST_F(Drawing, RectanglesFillWholePixelsAndGrowAwayFromANegativeSize) {
  DrawRect(10, 10, -3, 2, 0x00FF00);
  DrawRect(5, 6, 4, -2, 0x123456);
  std::vector<RecordedCommand> draws = Draws();
  ASSERT_EQ(draws.size(), 2u);
  const graphics::FilledQuad& first = draws[0].filled;
  // Columns 8..10 and rows 10..11, edges a 0.375 pixel past the pixel borders.
  EXPECT_FLOAT_EQ(first.left, 8.375f);
  EXPECT_FLOAT_EQ(first.right, 11.375f);
  EXPECT_FLOAT_EQ(first.top, 10.375f);
  EXPECT_FLOAT_EQ(first.bottom, 12.375f);
  EXPECT_EQ(first.colour, (std::array<uint8_t, 4>{0, 255, 0, 255}));
  const graphics::FilledQuad& second = draws[1].filled;
  EXPECT_FLOAT_EQ(second.top, 5.375f);
  EXPECT_FLOAT_EQ(second.bottom, 7.375f);
  EXPECT_EQ(second.colour, (std::array<uint8_t, 4>{0x56, 0x34, 0x12, 255}));
}

TEST_F(Drawing, RectangleAlphaFollowsTheFactorAndTheTransparentColour) {
  SetAlphaMode(-0.5);
  DrawRect(0, 0, 1, 1, 0x808080);
  SetTransparentColour(0x808080);
  DrawRect(0, 0, 1, 1, 0x808080);
  DrawRect(0, 0, 1, 1, 0x808081);
  std::vector<RecordedCommand> draws = Draws();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[0].filled.colour[3], 128);  // 0.5 * 255 rounded
  EXPECT_EQ(draws[0].filled.blend, BlendMode::kTranslucent);
  EXPECT_EQ(draws[1].filled.colour[3], 0);
  EXPECT_EQ(draws[2].filled.colour[3], 128);
  // A rectangle leaves the draw state as it found it.
  EXPECT_FALSE(graphics::Graphics().draw.alphaTest);
  EXPECT_EQ(graphics::Graphics().draw.blend, BlendMode::kTranslucent);
}

TEST_F(Drawing, ClearScreenClearsNowAndEveryFrameAfter) {
  ClearScreen(0x0000FF);
  ASSERT_EQ(recorder_->FrameCommands().size(), 1u);
  EXPECT_EQ(recorder_->FrameCommands()[0].clearColour, (std::array<float, 4>{1, 0, 0, 1}));
  graphics::BeforeSwap(1);
  graphics::AfterSwap();
  ASSERT_EQ(recorder_->FrameCommands().size(), 1u);
  EXPECT_EQ(recorder_->FrameCommands()[0].clearColour, (std::array<float, 4>{1, 0, 0, 1}));
  EXPECT_EQ(recorder_->PresentedFrames(), 1);
}

TEST_F(Drawing, DrawLogHasOneLinePerCallAndAFrameLineAfterEachFrame) {
  const std::string logPath = folder_.Path("draw.log");
  const std::string sprite = SaveBmp("s.bmp", Picture(8, 8, {1, 1, 1}));
  graphics::SetDrawLogPath(logPath);
  ASSERT_TRUE(graphics::InitGraphics(/*headless=*/true, 640, 480));
  LoadAnim(sprite, 2, 4, 4);
  ClearScreen(0);
  SetAlphaMode(-0.25);
  DrawSprite(2, 1, 2);
  DrawAnim(2, 3, 4, 5);
  RotoZoomAnim(2, 1, 6, 7, 22.5, 1.5);
  DrawRect(1, 2, -3, 4, 65535);
  graphics::BeforeSwap(1);
  graphics::AfterSwap();
  DrawSprite(9, 0, 0);  // empty slots are logged too: the call happened
  graphics::BeforeSwap(2);
  graphics::ShutdownGraphics();
  graphics::SetDrawLogPath("");

  std::ifstream in(logPath);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(),
            "ClearScreen 0\n"
            "SetAlphaMode -0.25\n"
            "DrawSprite 2 1 2\n"
            "DrawAnim 2 3 4 5\n"
            "RotoZoomAnim 2 1 6 7 22.5 1.5\n"
            "DrawRect 1 2 -3 4 65535\n"
            "frame 1\n"
            "DrawSprite 9 0 0\n"
            "frame 2\n");
}

}  // namespace
}  // namespace zrb::testing
