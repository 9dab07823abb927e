// The shader program every quad is drawn with: position in logical picture pixels, texture
// coordinates and a colour that multiplies the texel, per vertex. One variant discards
// fragments whose alpha is 0.05 or less (the colour-keyed holes of opaque sprites); the other
// keeps every fragment, which is cheaper where the renderer knows every texel is opaque. A
// third draws the finished picture into the window at a fractional scale, sharply.
#pragma once

#include <string>

#include "engine/graphics/gl_api.h"

namespace zrb::graphics {

// Attribute locations, bound before linking.
inline constexpr GLuint kPositionAttribute = 0;
inline constexpr GLuint kTexCoordAttribute = 1;
inline constexpr GLuint kColourAttribute = 2;

struct QuadProgram {
  GLuint program = 0;
  GLint transform = -1;  // vec4: clip = position * xy + zw
  GLint texture = -1;    // sampler2D, texture unit 0
  GLint sharpness = -1;  // vec4, the sharp variant's: picture size, pixels per picture pixel
};

enum class QuadVariant { kPlain, kAlphaTested, kSharp };

// Compiles and links one variant for the current context: GLSL ES 1.00 when the context is
// OpenGL ES, GLSL 1.10 otherwise. On failure the program is 0 and `error` says why.
QuadProgram BuildQuadProgram(QuadVariant variant, std::string* error);

void DeleteQuadProgram(QuadProgram& program);

}  // namespace zrb::graphics
