#include "engine/graphics/twin_renderer.h"

#include <algorithm>
#include <unordered_map>

namespace zrb::graphics {

struct TwinRenderer::Names {
  std::unordered_map<uint32_t, uint32_t> second;
};

TwinRenderer::TwinRenderer(std::unique_ptr<Renderer> first, std::unique_ptr<Renderer> second)
    : first_(std::move(first)), second_(std::move(second)), names_(std::make_unique<Names>()) {}

TwinRenderer::~TwinRenderer() = default;

std::string_view TwinRenderer::Name() const {
  return first_->Name();
}

int TwinRenderer::MaxTextureSize() const {
  return std::min(first_->MaxTextureSize(), second_->MaxTextureSize());
}

uint32_t TwinRenderer::CreateTexture(TextureKind kind, std::span<const TextureLevel> levels) {
  const uint32_t name = first_->CreateTexture(kind, levels);
  if (name) names_->second[name] = second_->CreateTexture(kind, levels);
  return name;
}

void TwinRenderer::DeleteTexture(uint32_t texture) {
  first_->DeleteTexture(texture);
  const auto found = names_->second.find(texture);
  if (found == names_->second.end()) return;
  second_->DeleteTexture(found->second);
  names_->second.erase(found);
}

void TwinRenderer::Clear(const std::array<float, 4>& rgba) {
  first_->Clear(rgba);
  second_->Clear(rgba);
}

void TwinRenderer::DrawTexturedQuad(const TexturedQuad& quad) {
  first_->DrawTexturedQuad(quad);
  const auto found = names_->second.find(quad.texture);
  if (found == names_->second.end()) return;
  TexturedQuad twin = quad;
  twin.texture = found->second;
  second_->DrawTexturedQuad(twin);
}

void TwinRenderer::DrawFilledQuad(const FilledQuad& quad) {
  first_->DrawFilledQuad(quad);
  second_->DrawFilledQuad(quad);
}

void TwinRenderer::PresentPicture() {
  first_->PresentPicture();
  second_->PresentPicture();
}

void TwinRenderer::StartFrame(const std::array<float, 4>& rgba) {
  first_->StartFrame(rgba);
  second_->StartFrame(rgba);
}

bool TwinRenderer::ReadPicture(std::vector<uint8_t>& rgba, int& width, int& height) {
  return first_->ReadPicture(rgba, width, height);
}

bool TwinRenderer::ReadSecondPicture(std::vector<uint8_t>& rgba, int& width, int& height) {
  return second_->ReadPicture(rgba, width, height);
}

}  // namespace zrb::graphics
