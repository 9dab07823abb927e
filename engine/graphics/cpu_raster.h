// Drawing quads into a picture on the processor, by the rules the OpenGL renderer's pictures
// follow: pixel centres at half-pixel positions, vertices snapped to 1/256 pixel, a pixel
// whose centre lies exactly on an edge drawn by the triangle to its right and below; texture
// coordinates interpolated at pixel centres, linear filtering about texel centres (with
// mipmaps where the texture has them), the texel times the draw colour, the alpha test keeping
// alpha above 0.05, and the blends rounded in 8 bits per channel.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/graphics/renderer.h"
#include "engine/graphics/texel_centres.h"

namespace zrb::graphics {

// Pixels are 32-bit words holding the bytes R, G, B, A in memory order, as the RGBA byte
// pictures and textures of the renderer interface do.
struct CpuPicture {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;  // rows top first
};

struct CpuTextureLevel {
  int width = 0;
  int height = 0;
  // Rows from texture coordinate v = 0. Shared: a sprite's plain texture and its mipmapped
  // one have the same base level.
  std::shared_ptr<const std::vector<uint32_t>> texels;
};

// Whether each kCpuCell x kCpuCell block of a base level holds only alpha 0, only alpha 255,
// or both: a row of texels drawn one to one skips the clear blocks and copies the solid ones.
inline constexpr int kCpuCell = 16;
enum class CellCover : uint8_t { kClear, kSolid, kMixed };

struct CpuTexture {
  TextureKind kind = TextureKind::kSprite;
  std::vector<CpuTextureLevel> levels;
  std::vector<CellCover> cells;  // of the base level, rows of ceil(width / kCpuCell)
};

// The cells of a base level.
std::vector<CellCover> CoverCells(const CpuTextureLevel& level);

// Fills `corners` (a fan: triangles 0 1 2 and 0 2 3) with the texture's texels.
// `nearest`: every pixel centre is known to fall on a texel centre (texel_centres.h), where
// the nearest texel is the linear filter's answer.
void DrawCpuQuad(const CpuPicture& picture, const CpuTexture& texture, const TexturedQuad& quad,
                 bool nearest);

// The same for a quad that shows texels one to one (`mapping`, texel_centres.h): each row's
// texels are found by whole steps, with no triangle set-up.
void DrawCpuTexelsOneToOne(const CpuPicture& picture, const CpuTexture& texture,
                           const TexturedQuad& quad, const TexelMapping& mapping);

void FillCpuRect(const CpuPicture& picture, const FilledQuad& quad);

// One colour (components 0..1) as a pixel word.
uint32_t CpuPixel(const std::array<float, 4>& rgba);

}  // namespace zrb::graphics
