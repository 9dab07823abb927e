#include "engine/graphics/cpu_renderer.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/graphics/cpu_present.h"
#include "engine/graphics/cpu_raster.h"
#include "engine/graphics/texel_centres.h"
#include "engine/platform/window_surface.h"

namespace zrb::graphics {
namespace {

// As large as the image decoders let a picture be; GL drivers give at least this much.
constexpr int kMaxTextureSide = 8192;

class CpuRenderer final : public Renderer {
 public:
  CpuRenderer(int width, int height, bool showInWindow)
      : width_(width),
        height_(height),
        showInWindow_(showInWindow),
        pixels_(static_cast<size_t>(width) * height, 0xFF000000u) {}

  std::string_view Name() const override { return "cpu"; }
  int MaxTextureSize() const override { return kMaxTextureSide; }

  uint32_t CreateTexture(TextureKind kind, std::span<const TextureLevel> levels) override {
    if (levels.empty()) return 0;
    CpuTexture texture;
    texture.kind = kind;
    for (const TextureLevel& level : levels) {
      if (level.width <= 0 || level.height <= 0 || level.width > kMaxTextureSide ||
          level.height > kMaxTextureSide || !level.rgba) {
        return 0;
      }
      texture.levels.push_back(CopyLevel(level, texture.levels.empty()));
      if (kind == TextureKind::kSprite) break;  // one level, as in GL
    }
    lastBase_ = texture.levels[0];
    // Only a sprite's plain texture is drawn one to one, where the cells count.
    if (kind == TextureKind::kSprite) texture.cells = CoverCells(texture.levels[0]);
    const uint32_t name = nextName_++;
    textures_.emplace(name, std::move(texture));
    return name;
  }

  void DeleteTexture(uint32_t texture) override { textures_.erase(texture); }

  void Clear(const std::array<float, 4>& rgba) override {
    std::fill(pixels_.begin(), pixels_.end(), CpuPixel(rgba));
  }

  void DrawTexturedQuad(const TexturedQuad& quad) override {
    const auto found = textures_.find(quad.texture);
    if (found == textures_.end()) return;
    const CpuTexture& texture = found->second;
    // Where every pixel centre falls on a texel centre the nearest texel is the linear
    // filter's answer (and the level of detail is the base level's).
    const std::optional<TexelMapping> mapping =
        MapTexelsOneToOne(quad, texture.levels[0].width, texture.levels[0].height);
    if (mapping) {
      DrawCpuTexelsOneToOne(Picture(), texture, quad, *mapping);
    } else {
      DrawCpuQuad(Picture(), texture, quad, false);
    }
  }

  void DrawFilledQuad(const FilledQuad& quad) override { FillCpuRect(Picture(), quad); }

  void PresentPicture() override {
    platform::SurfacePixels surface;
    if (showInWindow_ && platform::WindowSurface(&surface)) presenter_.Show(Picture(), surface);
  }

  void StartFrame(const std::array<float, 4>& rgba) override { Clear(rgba); }

  bool ReadPicture(std::vector<uint8_t>& rgba, int& width, int& height) override {
    width = width_;
    height = height_;
    rgba.resize(pixels_.size() * 4);
    std::memcpy(rgba.data(), pixels_.data(), rgba.size());
    return true;
  }

 private:
  CpuPicture Picture() { return CpuPicture{pixels_.data(), width_, height_}; }

  // A sprite's mipmapped texture starts with the plain texture's texels, made just before:
  // that base level is shared rather than held twice (with the backdrops, about 18 MiB).
  CpuTextureLevel CopyLevel(const TextureLevel& level, bool base) const {
    CpuTextureLevel copy;
    copy.width = level.width;
    copy.height = level.height;
    const size_t bytes = static_cast<size_t>(level.width) * level.height * 4;
    if (base && lastBase_.texels && lastBase_.width == level.width &&
        lastBase_.height == level.height &&
        std::memcmp(lastBase_.texels->data(), level.rgba, bytes) == 0) {
      copy.texels = lastBase_.texels;
      return copy;
    }
    auto texels = std::make_shared<std::vector<uint32_t>>(bytes / 4);
    std::memcpy(texels->data(), level.rgba, bytes);
    copy.texels = std::move(texels);
    return copy;
  }

  int width_;
  int height_;
  bool showInWindow_;
  std::vector<uint32_t> pixels_;
  std::unordered_map<uint32_t, CpuTexture> textures_;
  uint32_t nextName_ = 1;
  CpuTextureLevel lastBase_;  // the base level of the texture made last
  SurfacePresenter presenter_;
};

}  // namespace

std::unique_ptr<Renderer> CreateCpuRenderer(int logicalWidth, int logicalHeight,
                                            bool showInWindow) {
  if (logicalWidth <= 0 || logicalHeight <= 0) return nullptr;
  return std::make_unique<CpuRenderer>(logicalWidth, logicalHeight, showInWindow);
}

}  // namespace zrb::graphics
