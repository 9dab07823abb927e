// A renderer in front of the window's real one that draws only frames the window can show.
// A frame that starts while the window is minimised or hidden is only written down; the game
// goes on as before, but no pixel is filled and nothing is presented. When the window is shown
// again, the last such frame is drawn for real before anything else, so a screen that waits
// for a key without presenting frames shows what it waits on.
#pragma once

#include <memory>
#include <vector>

#include "engine/graphics/recording_renderer.h"
#include "engine/graphics/renderer.h"

namespace zrb::graphics {

class ShownFramesRenderer final : public Renderer {
 public:
  ShownFramesRenderer(std::unique_ptr<Renderer> inner, bool (*windowShown)())
      : inner_(std::move(inner)), windowShown_(windowShown) {}

  std::string_view Name() const override { return inner_->Name(); }
  int MaxTextureSize() const override { return inner_->MaxTextureSize(); }
  uint32_t CreateTexture(TextureKind kind, std::span<const TextureLevel> levels) override {
    return inner_->CreateTexture(kind, levels);
  }
  void DeleteTexture(uint32_t texture) override;
  void Clear(const std::array<float, 4>& rgba) override;
  void DrawTexturedQuad(const TexturedQuad& quad) override;
  void DrawFilledQuad(const FilledQuad& quad) override;
  void PresentPicture() override;
  bool ShowPictureAgain() override;
  void StartFrame(const std::array<float, 4>& rgba) override;
  // A frame drawn while hidden is not in the real renderer: its pixels are the last frame's
  // drawn for real.
  bool ReadPicture(std::vector<uint8_t>& rgba, int& width, int& height) override {
    return inner_->ReadPicture(rgba, width, height);
  }

  bool Hidden() const { return hidden_; }

 private:
  struct Frame {
    std::array<float, 4> start{};
    std::vector<RecordedCommand> commands;
  };
  void DrawForReal(const Frame& frame);

  std::unique_ptr<Renderer> inner_;
  bool (*windowShown_)();
  bool hidden_ = false;       // the frame being drawn is only written down
  bool lastUnshown_ = false;  // the last presented frame is `last_`, never drawn for real
  Frame current_;
  Frame last_;
};

}  // namespace zrb::graphics
