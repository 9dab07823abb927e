#include "engine/graphics/recording_renderer.h"

namespace zrb::graphics {

RecordingRenderer::RecordingRenderer(int maxTextureSize, size_t textureMemoryBudget)
    : maxTextureSize_(maxTextureSize), textureMemoryBudget_(textureMemoryBudget) {}

uint32_t RecordingRenderer::CreateTexture(TextureKind kind, std::span<const TextureLevel> levels) {
  if (levels.empty()) return 0;
  size_t bytes = 0;
  for (const TextureLevel& level : levels) {
    if (level.width <= 0 || level.height <= 0 || level.width > maxTextureSize_ ||
        level.height > maxTextureSize_ || !level.rgba) {
      return 0;
    }
    bytes += static_cast<size_t>(level.width) * level.height * 4;
  }
  if (bytes > textureMemoryBudget_ - textureBytes_) return 0;
  uint32_t name = nextTexture_++;
  textures_[name] = RecordedTexture{kind, levels[0].width, levels[0].height,
                                    static_cast<int>(levels.size()), bytes};
  textureBytes_ += bytes;
  return name;
}

void RecordingRenderer::DeleteTexture(uint32_t texture) {
  auto found = textures_.find(texture);
  if (found == textures_.end()) return;
  textureBytes_ -= found->second.bytes;
  textures_.erase(found);
}

const RecordedTexture* RecordingRenderer::FindTexture(uint32_t texture) const {
  auto found = textures_.find(texture);
  return found == textures_.end() ? nullptr : &found->second;
}

void RecordingRenderer::Record(RecordedCommand command) {
  ++commandCount_;
  if (commands_.size() < kMaxCommandsPerFrame) commands_.push_back(command);
}

void RecordingRenderer::Clear(const std::array<float, 4>& rgba) {
  RecordedCommand command;
  command.kind = RecordedCommand::Kind::kClear;
  command.clearColour = rgba;
  Record(command);
}

void RecordingRenderer::DrawTexturedQuad(const TexturedQuad& quad) {
  RecordedCommand command;
  command.kind = RecordedCommand::Kind::kTexturedQuad;
  command.textured = quad;
  Record(command);
}

void RecordingRenderer::DrawFilledQuad(const FilledQuad& quad) {
  RecordedCommand command;
  command.kind = RecordedCommand::Kind::kFilledQuad;
  command.filled = quad;
  Record(command);
}

void RecordingRenderer::PresentPicture() {
  ++presentedFrames_;
}

void RecordingRenderer::StartFrame(const std::array<float, 4>& rgba) {
  commands_.clear();
  commandCount_ = 0;
  Clear(rgba);
}

}  // namespace zrb::graphics
