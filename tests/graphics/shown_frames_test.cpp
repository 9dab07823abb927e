// The window's picture drawn again on request, and frames drawn while the window cannot be
// seen reaching no pixels.
#include <gtest/gtest.h>

#include "engine/graphics/recording_renderer.h"
#include "engine/graphics/shown_frames.h"

namespace zrb::graphics {
namespace {

bool g_shown = true;

TEST(ShownFrames, TheLastFrameIsDrawnAgainOnRequestAndHiddenFramesOnlyWrittenDown) {
  auto recording = std::make_unique<RecordingRenderer>();
  RecordingRenderer& inner = *recording;
  ShownFramesRenderer renderer(std::move(recording), [] { return g_shown; });
  const uint8_t texel[4] = {};
  const TextureLevel level{1, 1, texel};
  const uint32_t kept = renderer.CreateTexture(TextureKind::kSprite, {&level, 1});
  const uint32_t deleted = renderer.CreateTexture(TextureKind::kSprite, {&level, 1});
  const auto draw = [&](uint32_t texture, float x) {
    renderer.DrawTexturedQuad({.texture = texture, .corners = {{{x, 0, 0, 0}}}});
  };
  const auto& commands = inner.FrameCommands();  // the real renderer's frame: its clear first

  EXPECT_FALSE(renderer.PresentLastAgain());  // nothing presented yet
  renderer.StartFrame({1, 0, 0, 1});
  draw(kept, 10);
  renderer.PresentPicture();
  renderer.StartFrame({0, 1, 0, 1});
  draw(kept, 20);  // halfway through the next frame the window asks for its picture
  ASSERT_TRUE(renderer.PresentLastAgain());
  EXPECT_EQ(inner.PresentedFrames(), 2);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].clearColour, (std::array<float, 4>{1, 0, 0, 1}));
  EXPECT_EQ(commands[1].textured.corners[0].x, 10);
  renderer.ResumeFrame();
  draw(kept, 30);
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].clearColour, (std::array<float, 4>{0, 1, 0, 1}));
  EXPECT_EQ(commands[1].textured.corners[0].x, 20);
  renderer.PresentPicture();

  // Minimised: frames reach neither pixels nor the screen, and a request is not answered.
  g_shown = false;
  for (float x : {40.f, 50.f}) {
    renderer.StartFrame({0, 0, 1, 1});
    draw(kept, x);
    draw(deleted, x);
    renderer.PresentPicture();
  }
  EXPECT_TRUE(renderer.Hidden());
  EXPECT_FALSE(renderer.PresentLastAgain());
  EXPECT_EQ(inner.PresentedFrames(), 3);
  renderer.StartFrame({0, 0, 0, 1});  // a key wait: nothing more is drawn
  renderer.DeleteTexture(deleted);

  // Shown again: the window gets the last frame, without the deleted texture's quad.
  g_shown = true;
  ASSERT_TRUE(renderer.PresentLastAgain());
  EXPECT_EQ(inner.PresentedFrames(), 4);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[1].textured.texture, kept);
  EXPECT_EQ(commands[1].textured.corners[0].x, 50);
  renderer.ResumeFrame();
  EXPECT_FALSE(renderer.Hidden());
}

}  // namespace
}  // namespace zrb::graphics
