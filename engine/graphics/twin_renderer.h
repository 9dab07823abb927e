// Two renderers given the same calls: the first one draws the window and answers, the second
// draws the same picture beside it. `--renderer both` pairs OpenGL with the CPU renderer, so
// that their pictures of the very same frame can be compared pixel by pixel.
#pragma once

#include <memory>

#include "engine/graphics/renderer.h"

namespace zrb::graphics {

class TwinRenderer final : public Renderer {
 public:
  TwinRenderer(std::unique_ptr<Renderer> first, std::unique_ptr<Renderer> second);
  ~TwinRenderer() override;

  std::string_view Name() const override;
  int MaxTextureSize() const override;
  uint32_t CreateTexture(TextureKind kind, std::span<const TextureLevel> levels) override;
  void DeleteTexture(uint32_t texture) override;
  void Clear(const std::array<float, 4>& rgba) override;
  void DrawTexturedQuad(const TexturedQuad& quad) override;
  void DrawFilledQuad(const FilledQuad& quad) override;
  void PresentPicture() override;
  void StartFrame(const std::array<float, 4>& rgba) override;
  bool ReadPicture(std::vector<uint8_t>& rgba, int& width, int& height) override;

  // The second renderer's picture.
  bool ReadSecondPicture(std::vector<uint8_t>& rgba, int& width, int& height);

 private:
  struct Names;
  std::unique_ptr<Renderer> first_;
  std::unique_ptr<Renderer> second_;
  std::unique_ptr<Names> names_;  // the first's texture names to the second's
};

}  // namespace zrb::graphics
