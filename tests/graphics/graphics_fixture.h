// A fresh headless graphics object for each test: a recording renderer, an empty sprite
// table, the default colour key, and a folder for the test's image files.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "engine/graphics/graphics_context.h"
#include "engine/graphics/graphics_system.h"
#include "engine/graphics/recording_renderer.h"
#include "engine/graphics/sprites.h"
#include "engine/values/runtime_error.h"
#include "test_images.h"

namespace zrb::testing {

class HeadlessGraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override { UseRenderer(graphics::RecordingRenderer::kDefaultMaxTextureSize); }
  void TearDown() override { graphics::ShutdownGraphics(); }

  void UseRenderer(int maxTextureSize, size_t textureBudget = size_t{1} << 30) {
    auto renderer = std::make_unique<graphics::RecordingRenderer>(maxTextureSize, textureBudget);
    recorder_ = renderer.get();
    graphics::InstallRenderer(std::move(renderer), /*headless=*/true, 640, 480);
    SetTransparentColour(graphics::kDefaultTransparentColour);
    ResetRuntimeErrorRecord();
  }

  // Writes the picture as a 24-bit BMP and returns its path.
  std::string SaveBmp(const std::string& name, const Picture& picture) {
    std::string path = folder_.Write(name, EncodeBmp(picture));
    return path;
  }

  const graphics::SpriteRecord& Record(int slot) {
    static const graphics::SpriteRecord kNone;
    const graphics::SpriteSlot* found = graphics::Graphics().sprites.Find(slot);
    return found ? found->record : kNone;
  }

  graphics::RecordingRenderer* recorder_ = nullptr;
  TempFolder folder_;
};

}  // namespace zrb::testing
