// Frames drawn while the window cannot be seen reach no pixels; shown again, the window gets
// the last of them, whatever the game does next.
#include <gtest/gtest.h>

#include "engine/graphics/recording_renderer.h"
#include "engine/graphics/shown_frames.h"

namespace zrb::graphics {
namespace {

bool g_shown = true;

TEST(ShownFrames, HiddenFramesAreOnlyWrittenDownAndTheLastIsDrawnWhenShownAgain) {
  auto recording = std::make_unique<RecordingRenderer>();
  RecordingRenderer& inner = *recording;
  ShownFramesRenderer renderer(std::move(recording), [] { return g_shown; });
  const uint8_t texel[4] = {1, 2, 3, 4};
  const TextureLevel level{1, 1, texel};
  const uint32_t kept = renderer.CreateTexture(TextureKind::kSprite, {&level, 1});
  const uint32_t deleted = renderer.CreateTexture(TextureKind::kSprite, {&level, 1});
  TexturedQuad quad;
  const auto frame = [&](const std::array<float, 4>& clear, float x) {
    renderer.StartFrame(clear);
    for (uint32_t texture : {kept, deleted}) {
      quad.texture = texture;
      quad.corners[0].x = x;
      renderer.DrawTexturedQuad(quad);
    }
    renderer.PresentPicture();
  };

  g_shown = false;
  frame({1, 0, 0, 1}, 10);
  frame({0, 1, 0, 1}, 20);
  EXPECT_TRUE(renderer.Hidden());
  EXPECT_EQ(inner.PresentedFrames(), 0);
  EXPECT_FALSE(renderer.ShowPictureAgain());  // the recording renderer keeps no picture
  renderer.StartFrame({0, 0, 1, 1});          // a key wait: nothing more is drawn
  renderer.DeleteTexture(deleted);

  g_shown = true;
  renderer.ShowPictureAgain();
  ASSERT_EQ(inner.PresentedFrames(), 1);
  // The start's clear and one quad: the deleted texture's is gone.
  const auto& commands = inner.FrameCommands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].clearColour, (std::array<float, 4>{0, 1, 0, 1}));
  EXPECT_EQ(commands[1].textured.texture, kept);
  EXPECT_EQ(commands[1].textured.corners[0].x, 20);
  // Drawn once: the next frame starts for real, without drawing the old one again.
  frame({0, 0, 0, 1}, 30);
  EXPECT_EQ(inner.PresentedFrames(), 2);
  EXPECT_EQ(commands.size(), 3u);
}

}  // namespace
}  // namespace zrb::graphics
