// Windows' opengl32.dll exports only OpenGL 1.1; the driver hands out the later entry points
// the renderer calls, once a context is current (wglGetProcAddress). Each is looked up on its
// first call, which comes after the window's context is made, and kept.
#include <windows.h>

#include "engine/graphics/gl_api.h"

namespace {

// As a function of no arguments, which any function pointer type may be cast to and from.
using AnyEntry = void (*)();

AnyEntry Entry(const char* name) {
  const PROC entry = ::wglGetProcAddress(name);
  // No driver offers less than OpenGL 2.0 with framebuffer objects and still made a context.
  if (entry == nullptr) ::FatalAppExitA(0, name);
  return reinterpret_cast<AnyEntry>(entry);
}

}  // namespace

extern "C" {

void APIENTRY glAttachShader(GLuint program, GLuint shader) {
  static const auto entry = reinterpret_cast<PFNGLATTACHSHADERPROC>(Entry("glAttachShader"));
  entry(program, shader);
}

void APIENTRY glBindAttribLocation(GLuint program, GLuint index, const GLchar* name) {
  static const auto entry =
      reinterpret_cast<PFNGLBINDATTRIBLOCATIONPROC>(Entry("glBindAttribLocation"));
  entry(program, index, name);
}

void APIENTRY glBindBuffer(GLenum target, GLuint buffer) {
  static const auto entry = reinterpret_cast<PFNGLBINDBUFFERPROC>(Entry("glBindBuffer"));
  entry(target, buffer);
}

void APIENTRY glBindFramebuffer(GLenum target, GLuint framebuffer) {
  static const auto entry = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(Entry("glBindFramebuffer"));
  entry(target, framebuffer);
}

void APIENTRY glBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
  static const auto entry = reinterpret_cast<PFNGLBUFFERDATAPROC>(Entry("glBufferData"));
  entry(target, size, data, usage);
}

GLenum APIENTRY glCheckFramebufferStatus(GLenum target) {
  static const auto entry =
      reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(Entry("glCheckFramebufferStatus"));
  return entry(target);
}

void APIENTRY glCompileShader(GLuint shader) {
  static const auto entry = reinterpret_cast<PFNGLCOMPILESHADERPROC>(Entry("glCompileShader"));
  entry(shader);
}

GLuint APIENTRY glCreateProgram(void) {
  static const auto entry = reinterpret_cast<PFNGLCREATEPROGRAMPROC>(Entry("glCreateProgram"));
  return entry();
}

GLuint APIENTRY glCreateShader(GLenum type) {
  static const auto entry = reinterpret_cast<PFNGLCREATESHADERPROC>(Entry("glCreateShader"));
  return entry(type);
}

void APIENTRY glDeleteBuffers(GLsizei n, const GLuint* buffers) {
  static const auto entry = reinterpret_cast<PFNGLDELETEBUFFERSPROC>(Entry("glDeleteBuffers"));
  entry(n, buffers);
}

void APIENTRY glDeleteFramebuffers(GLsizei n, const GLuint* framebuffers) {
  static const auto entry =
      reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(Entry("glDeleteFramebuffers"));
  entry(n, framebuffers);
}

void APIENTRY glDeleteProgram(GLuint program) {
  static const auto entry = reinterpret_cast<PFNGLDELETEPROGRAMPROC>(Entry("glDeleteProgram"));
  entry(program);
}

void APIENTRY glDeleteShader(GLuint shader) {
  static const auto entry = reinterpret_cast<PFNGLDELETESHADERPROC>(Entry("glDeleteShader"));
  entry(shader);
}

void APIENTRY glEnableVertexAttribArray(GLuint index) {
  static const auto entry =
      reinterpret_cast<PFNGLENABLEVERTEXATTRIBARRAYPROC>(Entry("glEnableVertexAttribArray"));
  entry(index);
}

void APIENTRY glFramebufferTexture2D(GLenum target, GLenum attachment, GLenum textarget,
                                     GLuint texture, GLint level) {
  static const auto entry =
      reinterpret_cast<PFNGLFRAMEBUFFERTEXTURE2DPROC>(Entry("glFramebufferTexture2D"));
  entry(target, attachment, textarget, texture, level);
}

void APIENTRY glGenBuffers(GLsizei n, GLuint* buffers) {
  static const auto entry = reinterpret_cast<PFNGLGENBUFFERSPROC>(Entry("glGenBuffers"));
  entry(n, buffers);
}

void APIENTRY glGenFramebuffers(GLsizei n, GLuint* framebuffers) {
  static const auto entry = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(Entry("glGenFramebuffers"));
  entry(n, framebuffers);
}

void APIENTRY glGetProgramInfoLog(GLuint program, GLsizei bufSize, GLsizei* length,
                                  GLchar* infoLog) {
  static const auto entry =
      reinterpret_cast<PFNGLGETPROGRAMINFOLOGPROC>(Entry("glGetProgramInfoLog"));
  entry(program, bufSize, length, infoLog);
}

void APIENTRY glGetProgramiv(GLuint program, GLenum pname, GLint* params) {
  static const auto entry = reinterpret_cast<PFNGLGETPROGRAMIVPROC>(Entry("glGetProgramiv"));
  entry(program, pname, params);
}

void APIENTRY glGetShaderInfoLog(GLuint shader, GLsizei bufSize, GLsizei* length, GLchar* infoLog) {
  static const auto entry =
      reinterpret_cast<PFNGLGETSHADERINFOLOGPROC>(Entry("glGetShaderInfoLog"));
  entry(shader, bufSize, length, infoLog);
}

void APIENTRY glGetShaderiv(GLuint shader, GLenum pname, GLint* params) {
  static const auto entry = reinterpret_cast<PFNGLGETSHADERIVPROC>(Entry("glGetShaderiv"));
  entry(shader, pname, params);
}

GLint APIENTRY glGetUniformLocation(GLuint program, const GLchar* name) {
  static const auto entry =
      reinterpret_cast<PFNGLGETUNIFORMLOCATIONPROC>(Entry("glGetUniformLocation"));
  return entry(program, name);
}

void APIENTRY glLinkProgram(GLuint program) {
  static const auto entry = reinterpret_cast<PFNGLLINKPROGRAMPROC>(Entry("glLinkProgram"));
  entry(program);
}

void APIENTRY glShaderSource(GLuint shader, GLsizei count, const GLchar* const* string,
                             const GLint* length) {
  static const auto entry = reinterpret_cast<PFNGLSHADERSOURCEPROC>(Entry("glShaderSource"));
  entry(shader, count, string, length);
}

void APIENTRY glUniform1i(GLint location, GLint v0) {
  static const auto entry = reinterpret_cast<PFNGLUNIFORM1IPROC>(Entry("glUniform1i"));
  entry(location, v0);
}

void APIENTRY glUniform4f(GLint location, GLfloat v0, GLfloat v1, GLfloat v2, GLfloat v3) {
  static const auto entry = reinterpret_cast<PFNGLUNIFORM4FPROC>(Entry("glUniform4f"));
  entry(location, v0, v1, v2, v3);
}

void APIENTRY glUseProgram(GLuint program) {
  static const auto entry = reinterpret_cast<PFNGLUSEPROGRAMPROC>(Entry("glUseProgram"));
  entry(program);
}

void APIENTRY glVertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized,
                                    GLsizei stride, const void* pointer) {
  static const auto entry =
      reinterpret_cast<PFNGLVERTEXATTRIBPOINTERPROC>(Entry("glVertexAttribPointer"));
  entry(index, size, type, normalized, stride, pointer);
}

}  // extern "C"
