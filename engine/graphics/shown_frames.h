// A renderer in front of the window's real one that keeps what the window shows and draws
// nothing the window cannot show. Each frame's requests are written down as they pass (quads,
// not pixels), so the last presented frame can be drawn again when the window system asks
// for it (uncovered, resized, restored), also while the game waits for a key and presents
// nothing, and the frame being drawn then goes on where it was. A frame that starts while the
// window is minimised or hidden is only written down: the game goes on, but no pixel is filled
// and nothing is presented.
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
  void StartFrame(const std::array<float, 4>& rgba) override;
  // A frame drawn while hidden is not in the real renderer: its pixels are the last frame's
  // drawn for real.
  bool ReadPicture(std::vector<uint8_t>& rgba, int& width, int& height) override {
    return inner_->ReadPicture(rgba, width, height);
  }

  // The frame being drawn is only written down: there is nothing to swap.
  bool Hidden() const { return hidden_; }

  // The last presented frame drawn and presented again, for the caller's swap; false when
  // the window cannot be seen or nothing was presented yet. Then `ResumeFrame` draws the frame
  // under way again, as far as it got.
  bool PresentLastAgain();
  void ResumeFrame();

 private:
  struct Frame {
    std::array<float, 4> start{};
    std::vector<RecordedCommand> commands;
  };
  void Record(const RecordedCommand& command);
  void Replay(const Frame& frame);

  std::unique_ptr<Renderer> inner_;
  bool (*windowShown_)();
  bool hidden_ = false;  // the frame being drawn is only written down
  bool presented_ = false;
  Frame current_;
  Frame last_;
};

}  // namespace zrb::graphics
