#include "engine/graphics/sprites.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "engine/files/resolver.h"
#include "engine/graphics/graphics_context.h"
#include "engine/graphics/image_decoder.h"
#include "engine/graphics/texture_image.h"
#include "engine/values/runtime_error.h"
#include "engine/values/shown_text.h"

namespace zrb {
namespace {

using graphics::GraphicsContext;
using graphics::SpriteSlot;
using graphics::TextureLevel;

// Every picture may reach the size cap alone, but not all at once: a few small files that
// inflate to 16 million pixels each would take gigabytes between textures, mipmaps and masks.
// The game's own pictures take a small part of this.
constexpr int64_t kMaxSpriteTexels = int64_t{32} << 20;

// The decoded image becomes the slot's two textures and its alpha mask.
bool Upload(GraphicsContext& context, const graphics::DecodedImage& image, SpriteSlot& slot,
            std::string_view fileName) {
  if (image.width <= 0 || image.height <= 0) return false;
  graphics::Renderer& renderer = *context.renderer;
  const int maxSide = renderer.MaxTextureSize();
  const int width = std::min(image.width, maxSide);
  const int height = std::min(image.height, maxSide);

  graphics::TexturePixels pixels = graphics::LayOutTexture(image, width, height);
  const int64_t texels = int64_t{pixels.width} * pixels.height;
  if (context.sprites.TexelsInUse() + texels > kMaxSpriteTexels) {
    std::fprintf(stderr,
                 "picture %s not loaded: with it, the pictures would pass %lld million texels\n",
                 ShownText(fileName).c_str(), static_cast<long long>(kMaxSpriteTexels >> 20));
    return false;
  }
  graphics::BleedColourIntoTransparent(pixels, width, height);
  std::array<TextureLevel, 1> base{TextureLevel{pixels.width, pixels.height, pixels.rgba.data()}};
  uint32_t texture = renderer.CreateTexture(graphics::TextureKind::kSprite, base);
  if (!texture) return false;

  std::vector<graphics::TexturePixels> smaller = graphics::BuildMipmapLevels(pixels);
  std::vector<TextureLevel> chain{base[0]};
  for (const graphics::TexturePixels& level : smaller) {
    chain.push_back(TextureLevel{level.width, level.height, level.rgba.data()});
  }
  uint32_t mipmapped = renderer.CreateTexture(graphics::TextureKind::kMipmapped, chain);
  if (!mipmapped) {
    renderer.DeleteTexture(texture);
    return false;
  }

  graphics::SpriteRecord& record = slot.record;
  record.texture = texture;
  record.mipmappedTexture = mipmapped;
  record.textureWidth = pixels.width;
  record.textureHeight = pixels.height;
  record.imageWidth = width;
  record.imageHeight = height;
  record.uExtent = static_cast<float>(width) / static_cast<float>(pixels.width);
  record.vExtent = static_cast<float>(height) / static_cast<float>(pixels.height);
  slot.alphaMask = graphics::AlphaPlane(pixels);
  return true;
}

bool Load(std::string_view fileName, int32_t slotNumber) {
  GraphicsContext& context = graphics::Graphics();
  SpriteSlot* slot = context.sprites.Reset(slotNumber, *context.renderer);
  if (!slot) return false;

  std::string resolved;
  if (!files::Resolve(files::ArchiveSlot::kPrimary, fileName, resolved, /*asMemory=*/true)) {
    return false;
  }
  std::optional<std::vector<uint8_t>> bytes = files::ReadResolvedFile(resolved);
  if (!bytes) return false;

  const graphics::Rgb key = graphics::Rgb::FromColourValue(context.transparentColour);
  if (!graphics::DecodeImage(*bytes, key, fileName, context.decodeBuffer)) return false;
  return Upload(context, context.decodeBuffer, *slot, fileName);
}

}  // namespace

void LoadSprite(std::string_view fileName, int32_t slot) {
  ClearRuntimeErrorCode();
  if (!Load(fileName, slot)) SetRuntimeError(kErrorNoSuchFile);
}

void LoadAnim(std::string_view fileName, int32_t slot, int32_t frameWidth, int32_t frameHeight) {
  LoadSprite(fileName, slot);
  graphics::SpriteSlot* loaded = graphics::Graphics().sprites.Find(slot);
  if (loaded && loaded->record.imageWidth > 0) {
    loaded->record.frameWidth = frameWidth;
    loaded->record.frameHeight = frameHeight;
  }
}

void SetTransparentColour(int32_t colour) {
  graphics::Graphics().transparentColour = colour & 0xFFFFFF;
}

SpriteDimensions SpriteSize(int32_t slot) {
  const graphics::SpriteSlot* found = graphics::Graphics().sprites.Find(slot);
  if (!found) return {};
  return SpriteDimensions{found->record.imageWidth, found->record.imageHeight};
}

}  // namespace zrb
