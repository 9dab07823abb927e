// The renderer of a headless run: no GL, no pixels. It keeps what a GPU would be asked to
// hold (texture names, sizes, levels, bytes) and the draw commands of the frame being built,
// so headless runs and tests can see exactly what each operation would have drawn.
#pragma once

#include <cstddef>
#include <map>
#include <vector>

#include "engine/graphics/renderer.h"

namespace zrb::graphics {

struct RecordedTexture {
  TextureKind kind = TextureKind::kSprite;
  int width = 0;
  int height = 0;
  int levels = 0;
  size_t bytes = 0;
};

struct RecordedCommand {
  enum class Kind { kClear, kTexturedQuad, kFilledQuad };
  Kind kind = Kind::kClear;
  std::array<float, 4> clearColour{};
  TexturedQuad textured;
  FilledQuad filled;
};

class RecordingRenderer final : public Renderer {
 public:
  static constexpr int kDefaultMaxTextureSize = 8192;
  // Commands past this many in one frame are counted but not kept.
  static constexpr size_t kMaxCommandsPerFrame = 65536;

  // `textureMemoryBudget` plays the part of video memory: a texture that would not fit is
  // refused, as a GL driver refuses one it cannot hold.
  explicit RecordingRenderer(int maxTextureSize = kDefaultMaxTextureSize,
                             size_t textureMemoryBudget = size_t{4} << 30);

  std::string_view Name() const override { return "recording"; }
  int MaxTextureSize() const override { return maxTextureSize_; }
  uint32_t CreateTexture(TextureKind kind, std::span<const TextureLevel> levels) override;
  void DeleteTexture(uint32_t texture) override;
  void Clear(const std::array<float, 4>& rgba) override;
  void DrawTexturedQuad(const TexturedQuad& quad) override;
  void DrawFilledQuad(const FilledQuad& quad) override;
  void PresentPicture() override;
  void StartFrame(const std::array<float, 4>& rgba) override;
  bool ReadPicture(std::vector<uint8_t>&, int&, int&) override { return false; }

  const std::vector<RecordedCommand>& FrameCommands() const { return commands_; }
  size_t FrameCommandCount() const { return commandCount_; }
  const RecordedTexture* FindTexture(uint32_t texture) const;
  size_t LiveTextureCount() const { return textures_.size(); }
  size_t TextureBytes() const { return textureBytes_; }
  long PresentedFrames() const { return presentedFrames_; }

 private:
  void Record(RecordedCommand command);

  int maxTextureSize_;
  size_t textureMemoryBudget_;
  size_t textureBytes_ = 0;
  uint32_t nextTexture_ = 1;
  std::map<uint32_t, RecordedTexture> textures_;
  std::vector<RecordedCommand> commands_;
  size_t commandCount_ = 0;
  long presentedFrames_ = 0;
};

}  // namespace zrb::graphics
