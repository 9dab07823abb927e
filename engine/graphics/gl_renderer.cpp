#include "engine/graphics/gl_renderer.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>

#include "engine/graphics/letterbox.h"
#include "engine/platform/window.h"

namespace zrb::graphics {
namespace {

bool HasFramebufferObjects() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (version && std::atoi(version) >= 3) return true;
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  return extensions && std::strstr(extensions, "GL_ARB_framebuffer_object");
}

class GlRenderer final : public Renderer {
 public:
  GlRenderer(int logicalWidth, int logicalHeight, PictureTarget target)
      : width_(logicalWidth), height_(logicalHeight), target_(target) {}
  ~GlRenderer() override;
  GlRenderer(const GlRenderer&) = delete;
  GlRenderer& operator=(const GlRenderer&) = delete;

  bool Initialise();

  std::string_view Name() const override { return "opengl"; }
  int MaxTextureSize() const override { return maxTextureSize_; }
  uint32_t CreateTexture(TextureKind kind, std::span<const TextureLevel> levels) override;
  void DeleteTexture(uint32_t texture) override;
  void Clear(const std::array<float, 4>& rgba) override;
  void DrawTexturedQuad(const TexturedQuad& quad) override;
  void DrawFilledQuad(const FilledQuad& quad) override;
  void PresentPicture() override;
  void StartFrame(const std::array<float, 4>& rgba) override;
  bool ReadPicture(std::vector<uint8_t>& rgba, int& width, int& height) override;

 private:
  bool CreatePictureTarget();
  void DestroyPictureTarget();
  void TargetPicture();
  void SetPictureState();
  void ApplyBlend(BlendMode mode);
  void ApplyAlphaTest(bool on);
  void ApplyTexturing(bool on);
  void BindTexture(GLuint texture, TextureWrap wrap);
  void ForgetCachedState();

  int width_;
  int height_;
  PictureTarget target_;
  int maxTextureSize_ = 0;

  // The offscreen picture; without framebuffer objects we draw into the back buffer
  // through a letterboxed viewport instead.
  bool offscreen_ = false;
  GLuint framebuffer_ = 0;
  GLuint pictureTexture_ = 0;
  GLuint depthStencil_ = 0;
  Letterbox directBox_;

  // What GL currently has, so each quad changes only what differs.
  enum class Tri { kUnknown, kOff, kOn };
  BlendMode blend_ = BlendMode::kOff;
  bool blendKnown_ = false;
  Tri alphaTest_ = Tri::kUnknown;
  Tri texturing_ = Tri::kUnknown;
  GLuint boundTexture_ = 0;
  std::unordered_map<GLuint, TextureWrap> wraps_;
};

GlRenderer::~GlRenderer() {
  for (const auto& [texture, wrap] : wraps_)
    glDeleteTextures(1, &texture);
  DestroyPictureTarget();
}

bool GlRenderer::Initialise() {
  if (!glGetString(GL_VERSION)) return false;
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  maxTextureSize_ = maxSize > 0 ? maxSize : 64;
  while (glGetError() != GL_NO_ERROR) {
  }
  offscreen_ = target_ == PictureTarget::kOffscreenWhenPossible && HasFramebufferObjects() &&
               CreatePictureTarget();
  // Start from black everywhere, the window's default framebuffer included.
  if (offscreen_) glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  StartFrame({0, 0, 0, 1});
  return true;
}

bool GlRenderer::CreatePictureTarget() {
  glGenTextures(1, &pictureTexture_);
  glBindTexture(GL_TEXTURE_2D, pictureTexture_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);

  glGenRenderbuffers(1, &depthStencil_);
  glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width_, height_);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);

  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, pictureTexture_, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                            depthStencil_);
  bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE &&
                  glGetError() == GL_NO_ERROR;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (!complete) DestroyPictureTarget();
  return complete;
}

void GlRenderer::DestroyPictureTarget() {
  if (framebuffer_) glDeleteFramebuffers(1, &framebuffer_);
  if (depthStencil_) glDeleteRenderbuffers(1, &depthStencil_);
  if (pictureTexture_) glDeleteTextures(1, &pictureTexture_);
  framebuffer_ = depthStencil_ = pictureTexture_ = 0;
}

// The fixed 2-D set-up: the logical picture with y down, single texture modulated by the
// draw colour, no depth test.
void GlRenderer::SetPictureState() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width_, height_, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glAlphaFunc(GL_GREATER, 0.05f);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
}

void GlRenderer::TargetPicture() {
  if (offscreen_) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, width_, height_);
  } else {
    int drawableWidth = 0, drawableHeight = 0;
    platform::DrawableSize(&drawableWidth, &drawableHeight);
    directBox_ = FitPicture(width_, height_, drawableWidth, drawableHeight);
    glViewport(directBox_.x, directBox_.y, directBox_.width, directBox_.height);
    glScissor(directBox_.x, directBox_.y, directBox_.width, directBox_.height);
    glEnable(GL_SCISSOR_TEST);
  }
  SetPictureState();
}

void GlRenderer::ForgetCachedState() {
  blendKnown_ = false;
  alphaTest_ = Tri::kUnknown;
  texturing_ = Tri::kUnknown;
  boundTexture_ = 0;
  glBindTexture(GL_TEXTURE_2D, 0);
}

void GlRenderer::ApplyBlend(BlendMode mode) {
  if (blendKnown_ && blend_ == mode) return;
  blend_ = mode;
  blendKnown_ = true;
  switch (mode) {
    case BlendMode::kOff:
      glDisable(GL_BLEND);
      break;
    case BlendMode::kAdditive:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE);
      break;
    case BlendMode::kTranslucent:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      break;
  }
}

void GlRenderer::ApplyAlphaTest(bool on) {
  Tri wanted = on ? Tri::kOn : Tri::kOff;
  if (alphaTest_ == wanted) return;
  alphaTest_ = wanted;
  if (on) {
    glEnable(GL_ALPHA_TEST);
  } else {
    glDisable(GL_ALPHA_TEST);
  }
}

void GlRenderer::ApplyTexturing(bool on) {
  Tri wanted = on ? Tri::kOn : Tri::kOff;
  if (texturing_ == wanted) return;
  texturing_ = wanted;
  if (on) {
    glEnable(GL_TEXTURE_2D);
  } else {
    glDisable(GL_TEXTURE_2D);
  }
}

void GlRenderer::BindTexture(GLuint texture, TextureWrap wrap) {
  if (boundTexture_ != texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    boundTexture_ = texture;
  }
  auto found = wraps_.find(texture);
  if (found == wraps_.end() || found->second == wrap) return;
  GLint mode = wrap == TextureWrap::kRepeat ? GL_REPEAT : GL_CLAMP_TO_EDGE;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, mode);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, mode);
  found->second = wrap;
}

uint32_t GlRenderer::CreateTexture(TextureKind kind, std::span<const TextureLevel> levels) {
  if (levels.empty()) return 0;
  while (glGetError() != GL_NO_ERROR) {
  }
  GLuint texture = 0;
  glGenTextures(1, &texture);
  if (!texture) return 0;
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  bool mipmapped = kind == TextureKind::kMipmapped;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                  mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels.size()) - 1);
  for (size_t i = 0; i < levels.size(); ++i) {
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), GL_RGBA8, levels[i].width, levels[i].height,
                 0, GL_RGBA, GL_UNSIGNED_BYTE, levels[i].rgba);
  }
  bool failed = glGetError() != GL_NO_ERROR;
  glBindTexture(GL_TEXTURE_2D, boundTexture_);
  if (failed) {
    glDeleteTextures(1, &texture);
    return 0;
  }
  wraps_[texture] = TextureWrap::kRepeat;
  return texture;
}

void GlRenderer::DeleteTexture(uint32_t texture) {
  if (wraps_.erase(texture) == 0) return;
  GLuint name = texture;
  glDeleteTextures(1, &name);
  if (boundTexture_ == name) boundTexture_ = 0;
}

void GlRenderer::Clear(const std::array<float, 4>& rgba) {
  glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
  glClear(GL_COLOR_BUFFER_BIT);
}

void GlRenderer::DrawTexturedQuad(const TexturedQuad& quad) {
  if (!wraps_.count(quad.texture)) return;
  ApplyBlend(quad.blend);
  ApplyAlphaTest(quad.alphaTest);
  ApplyTexturing(true);
  BindTexture(quad.texture, quad.wrap);
  glColor4f(quad.colour[0], quad.colour[1], quad.colour[2], quad.colour[3]);
  glBegin(GL_TRIANGLE_FAN);
  for (const QuadVertex& corner : quad.corners) {
    glTexCoord2f(corner.u, corner.v);
    glVertex2f(corner.x, corner.y);
  }
  glEnd();
}

void GlRenderer::DrawFilledQuad(const FilledQuad& quad) {
  ApplyBlend(quad.blend);
  ApplyAlphaTest(false);
  ApplyTexturing(false);
  glColor4ub(quad.colour[0], quad.colour[1], quad.colour[2], quad.colour[3]);
  glBegin(GL_QUADS);
  glVertex2f(quad.left, quad.top);
  glVertex2f(quad.right, quad.top);
  glVertex2f(quad.right, quad.bottom);
  glVertex2f(quad.left, quad.bottom);
  glEnd();
}

void GlRenderer::PresentPicture() {
  if (!offscreen_) return;  // already drawn into the back buffer
  int drawableWidth = 0, drawableHeight = 0;
  platform::DrawableSize(&drawableWidth, &drawableHeight);
  Letterbox box = FitPicture(width_, height_, drawableWidth, drawableHeight);

  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDisable(GL_SCISSOR_TEST);
  glViewport(0, 0, drawableWidth, drawableHeight);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (box.width <= 0 || box.height <= 0) return;

  glViewport(box.x, box.y, box.width, box.height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 1, 0, 1, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  ApplyBlend(BlendMode::kOff);
  ApplyAlphaTest(false);
  ApplyTexturing(true);
  glBindTexture(GL_TEXTURE_2D, pictureTexture_);
  boundTexture_ = pictureTexture_;
  // Whole-number scales stay crisp; anything else is smoothed rather than unevenly doubled.
  GLint filter = box.wholeScale ? GL_NEAREST : GL_LINEAR;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glColor4f(1, 1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(0, 0);
  glTexCoord2f(1, 0);
  glVertex2f(1, 0);
  glTexCoord2f(1, 1);
  glVertex2f(1, 1);
  glTexCoord2f(0, 1);
  glVertex2f(0, 1);
  glEnd();
  ForgetCachedState();
}

void GlRenderer::StartFrame(const std::array<float, 4>& rgba) {
  if (!offscreen_) {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  TargetPicture();
  glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

bool GlRenderer::ReadPicture(std::vector<uint8_t>& rgba, int& width, int& height) {
  width = width_;
  height = height_;
  rgba.assign(static_cast<size_t>(width_) * height_ * 4, 0);
  const size_t rowBytes = static_cast<size_t>(width_) * 4;
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  if (offscreen_) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    std::vector<uint8_t> bottomUp(rgba.size());
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    for (int y = 0; y < height_; ++y) {
      std::memcpy(rgba.data() + rowBytes * y, bottomUp.data() + rowBytes * (height_ - 1 - y),
                  rowBytes);
    }
    return true;
  }
  // Drawn straight into the window: read the letterbox and take the nearest pixel.
  const Letterbox& box = directBox_;
  if (box.width <= 0 || box.height <= 0) return false;
  std::vector<uint8_t> shown(static_cast<size_t>(box.width) * box.height * 4);
  glReadBuffer(GL_BACK);
  glReadPixels(box.x, box.y, box.width, box.height, GL_RGBA, GL_UNSIGNED_BYTE, shown.data());
  for (int y = 0; y < height_; ++y) {
    int sy = box.height - 1 - static_cast<int>(static_cast<int64_t>(y) * box.height / height_);
    for (int x = 0; x < width_; ++x) {
      int sx = static_cast<int>(static_cast<int64_t>(x) * box.width / width_);
      std::memcpy(rgba.data() + rowBytes * y + x * 4,
                  shown.data() + (static_cast<size_t>(sy) * box.width + sx) * 4, 4);
    }
  }
  return true;
}

}  // namespace

std::unique_ptr<Renderer> CreateGlRenderer(int logicalWidth, int logicalHeight,
                                           PictureTarget target) {
  auto renderer = std::make_unique<GlRenderer>(logicalWidth, logicalHeight, target);
  if (!renderer->Initialise()) return nullptr;
  return renderer;
}

}  // namespace zrb::graphics
