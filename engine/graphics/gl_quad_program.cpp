#include "engine/graphics/gl_quad_program.h"

#include <cstring>
#include <vector>

namespace zrb::graphics {
namespace {

// The same sources serve both languages: ES needs a default float precision in fragment
// shaders, desktop GLSL 1.10 has no precision qualifiers at all.
constexpr const char* kEsHeader =
    "#version 100\n"
    "#ifdef GL_FRAGMENT_PRECISION_HIGH\n"
    "precision highp float;\n"
    "#else\n"
    "precision mediump float;\n"
    "#endif\n";
constexpr const char* kDesktopHeader = "#version 110\n";

constexpr const char* kVertexSource = R"(
attribute vec2 position;
attribute vec2 texCoord;
attribute vec4 colour;
uniform vec4 transform;
varying vec2 fragmentTexCoord;
varying vec4 fragmentColour;
void main() {
  gl_Position = vec4(position * transform.xy + transform.zw, 0.0, 1.0);
  fragmentTexCoord = texCoord;
  fragmentColour = colour;
}
)";

// The texel modulated by the colour, as the fixed-function pipeline's GL_MODULATE did; the
// test keeps what GL_ALPHA_TEST with GL_GREATER 0.05 kept.
// The sharp variant moves each coordinate as SharpTexel (letterbox.h) does before sampling
// linearly: xy the picture's size in pixels, zw screen pixels per picture pixel.
constexpr const char* kFragmentSource = R"(
uniform sampler2D picture;
varying vec2 fragmentTexCoord;
varying vec4 fragmentColour;
#ifdef SHARP
uniform vec4 sharpness;
#endif
void main() {
  vec2 coord = fragmentTexCoord;
#ifdef SHARP
  vec2 texel = coord * sharpness.xy - 0.5;
  vec2 left = floor(texel);
  vec2 across = clamp((texel - left - 0.5) * sharpness.zw + 0.5, 0.0, 1.0);
  coord = (left + 0.5 + across) / sharpness.xy;
#endif
  vec4 colour = texture2D(picture, coord) * fragmentColour;
#ifdef ALPHA_TEST
  if (colour.a <= 0.05) discard;
#endif
  gl_FragColor = colour;
}
)";

bool ContextIsEs() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return version && std::strncmp(version, "OpenGL ES", 9) == 0;
}

std::string InfoLog(GLuint object, bool isProgram) {
  GLint length = 0;
  if (isProgram) {
    glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
  } else {
    glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
  }
  std::vector<char> text(static_cast<size_t>(length > 0 ? length : 1) + 1, '\0');
  if (isProgram) {
    glGetProgramInfoLog(object, static_cast<GLsizei>(text.size()), nullptr, text.data());
  } else {
    glGetShaderInfoLog(object, static_cast<GLsizei>(text.size()), nullptr, text.data());
  }
  return text.data();
}

GLuint Compile(GLenum stage, const std::string& source, std::string* error) {
  const GLuint shader = glCreateShader(stage);
  if (!shader) {
    *error = "cannot create a shader";
    return 0;
  }
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint compiled = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled != GL_TRUE) {
    *error = (stage == GL_VERTEX_SHADER ? "vertex shader: " : "fragment shader: ") +
             InfoLog(shader, false);
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

QuadProgram BuildQuadProgram(QuadVariant variant, std::string* error) {
  QuadProgram result;
  const std::string header = ContextIsEs() ? kEsHeader : kDesktopHeader;
  const std::string defines = variant == QuadVariant::kAlphaTested ? "#define ALPHA_TEST 1\n"
                              : variant == QuadVariant::kSharp     ? "#define SHARP 1\n"
                                                                   : "";
  const GLuint vertex = Compile(GL_VERTEX_SHADER, header + kVertexSource, error);
  if (!vertex) return result;
  const GLuint fragment = Compile(GL_FRAGMENT_SHADER, header + defines + kFragmentSource, error);
  if (!fragment) {
    glDeleteShader(vertex);
    return result;
  }
  const GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glBindAttribLocation(program, kPositionAttribute, "position");
  glBindAttribLocation(program, kTexCoordAttribute, "texCoord");
  glBindAttribLocation(program, kColourAttribute, "colour");
  glLinkProgram(program);
  // The program keeps what it needs; the shaders go with it.
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint linked = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    *error = "shader program: " + InfoLog(program, true);
    glDeleteProgram(program);
    return result;
  }
  result.program = program;
  result.transform = glGetUniformLocation(program, "transform");
  result.texture = glGetUniformLocation(program, "picture");
  result.sharpness = glGetUniformLocation(program, "sharpness");
  glUseProgram(program);
  glUniform1i(result.texture, 0);
  return result;
}

void DeleteQuadProgram(QuadProgram& program) {
  if (program.program) glDeleteProgram(program.program);
  program = QuadProgram{};
}

}  // namespace zrb::graphics
