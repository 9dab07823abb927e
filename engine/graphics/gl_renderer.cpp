#include "engine/graphics/gl_renderer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/graphics/alpha_coverage.h"
#include "engine/graphics/gl_api.h"
#include "engine/graphics/gl_quad_program.h"
#include "engine/graphics/letterbox.h"
#include "engine/graphics/texel_centres.h"
#include "engine/platform/log_file.h"
#include "engine/platform/window.h"

namespace zrb::graphics {
namespace {

bool ContextIsEs() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return version && std::strncmp(version, "OpenGL ES", 9) == 0;
}

// Shaders need desktop GL 2.0; ES 2.0 has them by definition.
bool HasShaders() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return version && (ContextIsEs() || std::atoi(version) >= 2);
}

bool HasFramebufferObjects() {
  if (ContextIsEs()) return true;
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (version && std::atoi(version) >= 3) return true;
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  return extensions && std::strstr(extensions, "GL_ARB_framebuffer_object");
}

// Whether the window's own buffers hold the picture exactly as an RGBA8 texture would.
bool WindowHoldsExactColours() {
  GLint red = 0, green = 0, blue = 0, sampleBuffers = 0;
  glGetIntegerv(GL_RED_BITS, &red);
  glGetIntegerv(GL_GREEN_BITS, &green);
  glGetIntegerv(GL_BLUE_BITS, &blue);
  glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
  return red == 8 && green == 8 && blue == 8 && sampleBuffers == 0;
}

// Where the current frame's picture is being drawn.
enum class Surface {
  kWindowOneToOne,     // the back buffer, which has exactly the logical size
  kOffscreen,          // the framebuffer object, scaled into the window before the swap
  kWindowLetterboxed,  // the back buffer, through a viewport fitted into the drawable
};

struct TextureState {
  int width = 0;
  int height = 0;
  TextureKind kind = TextureKind::kSprite;
  TextureWrap wrap = TextureWrap::kRepeat;
  bool nearest = false;
  AlphaCoverage coverage;  // of the base level; sprite textures only
};

struct Vertex {
  float x, y, u, v;
  float r, g, b, a;
};

// What a run of quads shares, so they go to GL in one draw call.
struct BatchKey {
  bool alphaTest = false;
  GLuint texture = 0;
  BlendMode blend = BlendMode::kOff;
  bool sharp = false;  // the finished picture drawn at a fractional scale

  bool operator==(const BatchKey&) const = default;
};

// Indices are 16 bits wide (all that ES 2.0 promises): at most 65536 vertices per draw.
constexpr size_t kMaxBatchQuads = 65536 / 4;

class GlRenderer final : public Renderer {
 public:
  GlRenderer(int logicalWidth, int logicalHeight, const GlRendererOptions& options)
      : width_(logicalWidth), height_(logicalHeight), options_(options) {}
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
  bool CreateBuffers();
  bool CreatePictureTarget();
  void DestroyPictureTarget();
  Surface ChooseSurface() const;
  void TargetPicture();
  void SetTransform(float scaleX, float scaleY, float offsetX, float offsetY);
  void PrepareTexture(GLuint texture, TextureState& state, TextureWrap wrap, bool nearest);
  void BindTexture(GLuint texture);
  void ApplyBlend(BlendMode mode);
  void Queue(const BatchKey& key, const std::array<QuadVertex, 4>& corners,
             const std::array<float, 4>& colour);
  void Flush();
  void DrawTexels(const TexturedQuad& quad, TextureState& texture,
                  const std::array<QuadVertex, 4>& corners, bool alphaTest, bool nearest);
  void MoveFrameOffscreen();

  int width_;
  int height_;
  GlRendererOptions options_;
  int maxTextureSize_ = 0;
  bool windowHoldsExactColours_ = false;

  QuadProgram plainProgram_;
  QuadProgram testedProgram_;  // discards fragments of alpha 0.05 and less
  QuadProgram sharpProgram_;   // the picture into the window at a fractional scale
  GLuint vertexBuffer_ = 0;
  GLuint indexBuffer_ = 0;
  GLuint whiteTexture_ = 0;  // one opaque white texel: rectangles are textured with it

  // The offscreen picture, for drawables of another size than the picture's. 0 when the
  // driver has no framebuffer objects or the renderer always draws into the window.
  GLuint framebuffer_ = 0;
  GLuint pictureTexture_ = 0;

  Surface surface_ = Surface::kWindowLetterboxed;
  Letterbox windowBox_;    // the picture's place in the back buffer when drawn there
  bool oneToOne_ = false;  // a logical pixel is one pixel of the surface

  // Quads waiting to be drawn, all with the state `batchKey_`.
  std::vector<Vertex> vertices_;
  BatchKey batchKey_;

  // What GL currently has, so each draw call changes only what differs.
  GLuint currentProgram_ = 0;
  BlendMode blend_ = BlendMode::kOff;
  bool blendKnown_ = false;
  GLuint boundTexture_ = 0;
  std::unordered_map<GLuint, TextureState> textures_;
};

GlRenderer::~GlRenderer() {
  for (const auto& [texture, state] : textures_)
    glDeleteTextures(1, &texture);
  if (whiteTexture_) glDeleteTextures(1, &whiteTexture_);
  if (vertexBuffer_) glDeleteBuffers(1, &vertexBuffer_);
  if (indexBuffer_) glDeleteBuffers(1, &indexBuffer_);
  DeleteQuadProgram(plainProgram_);
  DeleteQuadProgram(testedProgram_);
  DeleteQuadProgram(sharpProgram_);
  DestroyPictureTarget();
}

bool GlRenderer::Initialise() {
  if (!glGetString(GL_VERSION)) return false;
  if (!HasShaders()) {
    platform::AppendLogLine(std::string("OpenGL 2.0 or OpenGL ES 2.0 needed, the driver has ") +
                            reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    return false;
  }
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  maxTextureSize_ = maxSize > 0 ? maxSize : 64;
  while (glGetError() != GL_NO_ERROR) {
  }
  std::string error;
  plainProgram_ = BuildQuadProgram(QuadVariant::kPlain, &error);
  if (plainProgram_.program) testedProgram_ = BuildQuadProgram(QuadVariant::kAlphaTested, &error);
  if (testedProgram_.program) sharpProgram_ = BuildQuadProgram(QuadVariant::kSharp, &error);
  if (!sharpProgram_.program || !CreateBuffers()) {
    platform::AppendLogLine("No OpenGL renderer: " + (error.empty() ? "no buffers" : error));
    return false;
  }
  if (options_.target != PictureTarget::kWindow && HasFramebufferObjects()) {
    CreatePictureTarget();
  }
  if (framebuffer_) glBindFramebuffer(GL_FRAMEBUFFER, 0);
  windowHoldsExactColours_ = WindowHoldsExactColours();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  // Start from black everywhere, the window's default framebuffer included.
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  StartFrame({0, 0, 0, 1});
  return true;
}

// One vertex buffer, refilled for every batch, and indices that split each quad into the
// triangles (0, 1, 2) and (0, 2, 3), as a fan through its corners does.
bool GlRenderer::CreateBuffers() {
  std::vector<uint16_t> indices;
  indices.reserve(kMaxBatchQuads * 6);
  for (size_t quad = 0; quad < kMaxBatchQuads; ++quad) {
    const auto first = static_cast<uint16_t>(quad * 4);
    for (int corner : {0, 1, 2, 0, 2, 3})
      indices.push_back(static_cast<uint16_t>(first + corner));
  }
  glGenBuffers(1, &indexBuffer_);
  glGenBuffers(1, &vertexBuffer_);
  if (!indexBuffer_ || !vertexBuffer_) return false;
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * 2), indices.data(),
               GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
  const auto stride = static_cast<GLsizei>(sizeof(Vertex));
  glEnableVertexAttribArray(kPositionAttribute);
  glEnableVertexAttribArray(kTexCoordAttribute);
  glEnableVertexAttribArray(kColourAttribute);
  glVertexAttribPointer(kPositionAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offsetof(Vertex, x)));
  glVertexAttribPointer(kTexCoordAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offsetof(Vertex, u)));
  glVertexAttribPointer(kColourAttribute, 4, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offsetof(Vertex, r)));
  vertices_.reserve(1024);

  const uint8_t white[4] = {255, 255, 255, 255};
  glGenTextures(1, &whiteTexture_);
  glBindTexture(GL_TEXTURE_2D, whiteTexture_);
  glTexImage2D(GL_TEXTURE_2D, 0, kRgba8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, 0);
  return glGetError() == GL_NO_ERROR;
}

// Colour only: 2-D drawing never tests depth or stencil, so the picture needs neither
// buffer.
bool GlRenderer::CreatePictureTarget() {
  glGenTextures(1, &pictureTexture_);
  glBindTexture(GL_TEXTURE_2D, pictureTexture_);
  glTexImage2D(GL_TEXTURE_2D, 0, kRgba8, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);

  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, pictureTexture_, 0);
  bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE &&
                  glGetError() == GL_NO_ERROR;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (!complete) DestroyPictureTarget();
  return complete;
}

void GlRenderer::DestroyPictureTarget() {
  if (framebuffer_) glDeleteFramebuffers(1, &framebuffer_);
  if (pictureTexture_) glDeleteTextures(1, &pictureTexture_);
  framebuffer_ = pictureTexture_ = 0;
}

// Drawing straight into the back buffer saves a full-screen copy per frame, but only a
// drawable of exactly the picture's size and depth gives the same pixels as the offscreen
// picture.
Surface GlRenderer::ChooseSurface() const {
  if (!framebuffer_) return Surface::kWindowLetterboxed;
  if (options_.target == PictureTarget::kOffscreen || !windowHoldsExactColours_) {
    return Surface::kOffscreen;
  }
  int drawableWidth = 0, drawableHeight = 0;
  platform::DrawableSize(&drawableWidth, &drawableHeight);
  return drawableWidth == width_ && drawableHeight == height_ ? Surface::kWindowOneToOne
                                                              : Surface::kOffscreen;
}

void GlRenderer::TargetPicture() {
  Flush();
  surface_ = ChooseSurface();
  if (framebuffer_) {
    glBindFramebuffer(GL_FRAMEBUFFER, surface_ == Surface::kOffscreen ? framebuffer_ : 0);
  }
  glDisable(GL_SCISSOR_TEST);
  switch (surface_) {
    case Surface::kOffscreen:
      windowBox_ = Letterbox{};
      glViewport(0, 0, width_, height_);
      break;
    case Surface::kWindowOneToOne:
      windowBox_ = Letterbox{0, 0, width_, height_, true};
      glViewport(0, 0, width_, height_);
      break;
    case Surface::kWindowLetterboxed: {
      int drawableWidth = 0, drawableHeight = 0;
      platform::DrawableSize(&drawableWidth, &drawableHeight);
      windowBox_ = LayOutPicture(width_, height_, drawableWidth, drawableHeight);
      // The bars around the picture.
      glClearColor(0, 0, 0, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      glViewport(windowBox_.x, windowBox_.y, windowBox_.width, windowBox_.height);
      glScissor(windowBox_.x, windowBox_.y, windowBox_.width, windowBox_.height);
      glEnable(GL_SCISSOR_TEST);
      break;
    }
  }
  oneToOne_ = surface_ != Surface::kWindowLetterboxed ||
              (windowBox_.width == width_ && windowBox_.height == height_);
  // The logical picture with y down: x 0..width to clip -1..1, y 0..height to 1..-1.
  SetTransform(2.0f / static_cast<float>(width_), -2.0f / static_cast<float>(height_), -1.0f, 1.0f);
}

void GlRenderer::SetTransform(float scaleX, float scaleY, float offsetX, float offsetY) {
  for (const QuadProgram* program : {&plainProgram_, &testedProgram_, &sharpProgram_}) {
    glUseProgram(program->program);
    glUniform4f(program->transform, scaleX, scaleY, offsetX, offsetY);
  }
  currentProgram_ = sharpProgram_.program;  // the last one used
}

// Filtered texels may round the other way in the window, which the driver fills bottom-up,
// than in the offscreen picture. Before the first quad that filters, the frame moves to the
// offscreen picture with what it holds so far (an exact copy: same size, nothing filtered).
void GlRenderer::MoveFrameOffscreen() {
  Flush();
  glBindTexture(GL_TEXTURE_2D, pictureTexture_);
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width_, height_);
  glBindTexture(GL_TEXTURE_2D, boundTexture_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  surface_ = Surface::kOffscreen;
  windowBox_ = Letterbox{};
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

void GlRenderer::BindTexture(GLuint texture) {
  if (boundTexture_ == texture) return;
  glBindTexture(GL_TEXTURE_2D, texture);
  boundTexture_ = texture;
}

// Wrap and filter belong to the texture object, so quads already queued with it are drawn
// before either changes.
void GlRenderer::PrepareTexture(GLuint texture, TextureState& state, TextureWrap wrap,
                                bool nearest) {
  if (state.wrap == wrap && state.nearest == nearest) return;
  Flush();
  BindTexture(texture);
  if (state.wrap != wrap) {
    const GLint mode = wrap == TextureWrap::kRepeat ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, mode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, mode);
    state.wrap = wrap;
  }
  if (state.nearest != nearest) {
    GLint minFilter = GL_NEAREST, magFilter = GL_NEAREST;
    if (!nearest) {
      minFilter = state.kind == TextureKind::kMipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
      magFilter = GL_LINEAR;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    state.nearest = nearest;
  }
}

void GlRenderer::Queue(const BatchKey& key, const std::array<QuadVertex, 4>& corners,
                       const std::array<float, 4>& colour) {
  if (!(key == batchKey_) || vertices_.size() >= kMaxBatchQuads * 4) {
    Flush();
    batchKey_ = key;
  }
  for (const QuadVertex& corner : corners) {
    vertices_.push_back(
        {corner.x, corner.y, corner.u, corner.v, colour[0], colour[1], colour[2], colour[3]});
  }
}

void GlRenderer::Flush() {
  if (vertices_.empty()) return;
  const GLuint program = batchKey_.sharp       ? sharpProgram_.program
                         : batchKey_.alphaTest ? testedProgram_.program
                                               : plainProgram_.program;
  if (currentProgram_ != program) {
    glUseProgram(program);
    currentProgram_ = program;
  }
  BindTexture(batchKey_.texture);
  ApplyBlend(batchKey_.blend);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices_.size() * sizeof(Vertex)),
               vertices_.data(), GL_STREAM_DRAW);
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(vertices_.size() / 4 * 6), GL_UNSIGNED_SHORT,
                 nullptr);
  vertices_.clear();
}

uint32_t GlRenderer::CreateTexture(TextureKind kind, std::span<const TextureLevel> levels) {
  if (levels.empty()) return 0;
  Flush();
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
#ifdef GL_TEXTURE_MAX_LEVEL
  // ES 2.0 has no such limit: there a chain must go down to 1 x 1, as ours do.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels.size()) - 1);
#endif
  for (size_t i = 0; i < levels.size(); ++i) {
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), kRgba8, levels[i].width, levels[i].height, 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, levels[i].rgba);
  }
  bool failed = glGetError() != GL_NO_ERROR;
  glBindTexture(GL_TEXTURE_2D, boundTexture_);
  if (failed) {
    glDeleteTextures(1, &texture);
    return 0;
  }
  TextureState& state = textures_[texture];
  state = TextureState{};
  state.width = levels[0].width;
  state.height = levels[0].height;
  state.kind = kind;
  if (options_.splitByCoverage && kind == TextureKind::kSprite) {
    state.coverage = AlphaCoverage(levels[0].width, levels[0].height, levels[0].rgba);
  }
  return texture;
}

void GlRenderer::DeleteTexture(uint32_t texture) {
  if (textures_.find(texture) == textures_.end()) return;
  Flush();
  textures_.erase(texture);
  GLuint name = texture;
  glDeleteTextures(1, &name);
  if (boundTexture_ == name) boundTexture_ = 0;
}

void GlRenderer::Clear(const std::array<float, 4>& rgba) {
  Flush();
  glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
  glClear(GL_COLOR_BUFFER_BIT);
}

void GlRenderer::DrawTexturedQuad(const TexturedQuad& quad) {
  auto found = textures_.find(quad.texture);
  if (found == textures_.end()) return;
  TextureState& texture = found->second;
  std::optional<TexelMapping> mapping;
  if (oneToOne_ && texture.kind == TextureKind::kSprite && options_.nearestWhereExact) {
    mapping = MapTexelsOneToOne(quad, texture.width, texture.height);
  }
  if (!mapping) {
    if (surface_ == Surface::kWindowOneToOne) MoveFrameOffscreen();
    DrawTexels(quad, texture, quad.corners, quad.alphaTest, false);
    return;
  }
  // Each pixel shows one texel centre, where nearest filtering equals linear.
  const std::vector<CoverPiece>* pieces =
      options_.splitByCoverage ? texture.coverage.Split(mapping->texels) : nullptr;
  if (!pieces) {
    DrawTexels(quad, texture, quad.corners, quad.alphaTest, /*nearest=*/true);
    return;
  }
  // Texels of alpha 0 change nothing when the test rejects them or they blend in at alpha 0;
  // texels of alpha 255 pass the test whenever the draw colour leaves them opaque.
  const bool clearChangesNothing = quad.alphaTest || quad.blend != BlendMode::kOff;
  const bool solidPasses = quad.colour[3] == 1.0f;
  for (const CoverPiece& piece : *pieces) {
    if (piece.cover == Cover::kClear && clearChangesNothing) continue;
    const bool alphaTest = quad.alphaTest && !(piece.cover == Cover::kSolid && solidPasses);
    if (piece.texels == mapping->texels) {
      DrawTexels(quad, texture, quad.corners, alphaTest, /*nearest=*/true);
    } else {
      DrawTexels(quad, texture, mapping->Corners(piece.texels, texture.width, texture.height),
                 alphaTest, /*nearest=*/true);
    }
  }
}

void GlRenderer::DrawTexels(const TexturedQuad& quad, TextureState& texture,
                            const std::array<QuadVertex, 4>& corners, bool alphaTest,
                            bool nearest) {
  PrepareTexture(quad.texture, texture, quad.wrap, nearest);
  Queue(BatchKey{alphaTest, quad.texture, quad.blend}, corners, quad.colour);
}

void GlRenderer::DrawFilledQuad(const FilledQuad& quad) {
  const std::array<float, 4> colour = {quad.colour[0] / 255.0f, quad.colour[1] / 255.0f,
                                       quad.colour[2] / 255.0f, quad.colour[3] / 255.0f};
  const std::array<QuadVertex, 4> corners = {QuadVertex{quad.left, quad.top, 0.5f, 0.5f},
                                             QuadVertex{quad.right, quad.top, 0.5f, 0.5f},
                                             QuadVertex{quad.right, quad.bottom, 0.5f, 0.5f},
                                             QuadVertex{quad.left, quad.bottom, 0.5f, 0.5f}};
  Queue(BatchKey{false, whiteTexture_, quad.blend}, corners, colour);
}

void GlRenderer::PresentPicture() {
  Flush();
  if (surface_ != Surface::kOffscreen) return;  // already drawn into the back buffer
  int drawableWidth = 0, drawableHeight = 0;
  platform::DrawableSize(&drawableWidth, &drawableHeight);
  const Letterbox box = LayOutPicture(width_, height_, drawableWidth, drawableHeight);

  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDisable(GL_SCISSOR_TEST);
  glViewport(0, 0, drawableWidth, drawableHeight);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  if (box.width <= 0 || box.height <= 0) return;

  glViewport(box.x, box.y, box.width, box.height);
  // The picture texture's rows run bottom-up like the window's: 0..1 on both axes.
  SetTransform(2.0f, 2.0f, -1.0f, -1.0f);
  // Whole multiples are sampled nearest; the sharp scale moves each coordinate to keep picture
  // pixels whole and samples linearly, as does a picture shrunk below its size.
  const bool sharp = box.scaling == Scaling::kSharp;
  if (sharp) {
    glUseProgram(sharpProgram_.program);
    currentProgram_ = sharpProgram_.program;
    glUniform4f(sharpProgram_.sharpness, static_cast<float>(width_), static_cast<float>(height_),
                static_cast<float>(box.width) / static_cast<float>(width_),
                static_cast<float>(box.height) / static_cast<float>(height_));
  }
  BindTexture(pictureTexture_);
  const GLint filter = box.scaling == Scaling::kWhole ? GL_NEAREST : GL_LINEAR;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  Queue(BatchKey{false, pictureTexture_, BlendMode::kOff, sharp},
        {QuadVertex{0, 0, 0, 0}, QuadVertex{1, 0, 1, 0}, QuadVertex{1, 1, 1, 1},
         QuadVertex{0, 1, 0, 1}},
        {1, 1, 1, 1});
  Flush();
}

void GlRenderer::StartFrame(const std::array<float, 4>& rgba) {
  TargetPicture();
  glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
  glClear(GL_COLOR_BUFFER_BIT);
}

bool GlRenderer::ReadPicture(std::vector<uint8_t>& rgba, int& width, int& height) {
  Flush();
  width = width_;
  height = height_;
  rgba.assign(static_cast<size_t>(width_) * height_ * 4, 0);
  const size_t rowBytes = static_cast<size_t>(width_) * 4;
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  if (surface_ == Surface::kOffscreen) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    std::vector<uint8_t> bottomUp(rgba.size());
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    for (int y = 0; y < height_; ++y) {
      std::memcpy(rgba.data() + rowBytes * y, bottomUp.data() + rowBytes * (height_ - 1 - y),
                  rowBytes);
    }
    return true;
  }
  // Drawn straight into the window: read the picture's box and take the nearest pixel
  // (each pixel itself when the box is the picture's size).
  const Letterbox& box = windowBox_;
  if (box.width <= 0 || box.height <= 0) return false;
  std::vector<uint8_t> shown(static_cast<size_t>(box.width) * box.height * 4);
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
                                           const GlRendererOptions& options) {
  auto renderer = std::make_unique<GlRenderer>(logicalWidth, logicalHeight, options);
  if (!renderer->Initialise()) return nullptr;
  return renderer;
}

}  // namespace zrb::graphics
