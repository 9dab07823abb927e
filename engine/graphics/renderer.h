// The seam between the drawing logic and what carries it out. Two real implementations:
// OpenGL (a window's context) and the recording renderer of a headless run. The logic
// computes every vertex, texture coordinate and colour; a renderer only executes them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zrb::graphics {

enum class BlendMode {
  kOff,          // opaque; colour-keyed holes come from the alpha test
  kAdditive,     // source x source alpha + destination
  kTranslucent,  // source x source alpha + destination x (1 - source alpha)
};

enum class TextureWrap { kRepeat, kClampToEdge };

enum class TextureKind {
  kSprite,     // linear filtering, one level
  kMipmapped,  // linear-mipmap-linear minification, every level given
};

struct TextureLevel {
  int width = 0;
  int height = 0;
  const uint8_t* rgba = nullptr;  // rows from texture coordinate v = 0, 4-byte aligned
};

struct QuadVertex {
  float x = 0;  // logical picture pixels, y down
  float y = 0;
  float u = 0;
  float v = 0;
};

// A textured quad, drawn as a fan through its four corners. The draw colour multiplies the
// texels (white with the alpha factor for every sprite draw).
struct TexturedQuad {
  uint32_t texture = 0;
  TextureWrap wrap = TextureWrap::kRepeat;
  std::array<QuadVertex, 4> corners{};
  BlendMode blend = BlendMode::kOff;
  bool alphaTest = true;  // pass only alpha above 0.05
  std::array<float, 4> colour{1, 1, 1, 1};
};

// An untextured rectangle, alpha test off.
struct FilledQuad {
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;
  BlendMode blend = BlendMode::kOff;
  std::array<uint8_t, 4> colour{};
};

class Renderer {
 public:
  virtual ~Renderer() = default;

  virtual std::string_view Name() const = 0;
  virtual int MaxTextureSize() const = 0;

  // A texture name other than 0, or 0 when the texture could not be made.
  virtual uint32_t CreateTexture(TextureKind kind, std::span<const TextureLevel> levels) = 0;
  virtual void DeleteTexture(uint32_t texture) = 0;

  // Clears the colour buffer of the logical picture to `rgba` (components 0..1).
  virtual void Clear(const std::array<float, 4>& rgba) = 0;
  virtual void DrawTexturedQuad(const TexturedQuad& quad) = 0;
  virtual void DrawFilledQuad(const FilledQuad& quad) = 0;

  // Before the swap: the logical picture goes into the window, scaled with its aspect kept.
  virtual void PresentPicture() = 0;
  // After the swap: the next frame starts from `rgba`.
  virtual void StartFrame(const std::array<float, 4>& rgba) = 0;

  // The logical picture as drawn so far, top row first, 4 bytes per pixel. False when the
  // renderer keeps no pixels.
  virtual bool ReadPicture(std::vector<uint8_t>& rgba, int& width, int& height) = 0;
};

}  // namespace zrb::graphics
