// The OpenGL entry points the renderer uses: the common subset of desktop OpenGL 2.0 and
// OpenGL ES 2.0 (WebGL 1 in a browser), plus framebuffer objects, which ES has built in and
// desktop GL from 3.0 or ARB_framebuffer_object.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES2/gl2.h>
#else
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#endif

namespace zrb::graphics {

// Textures hold 8 bits per channel. ES 2.0 takes only the unsized format and gives exactly
// that; desktop GL is asked for the size by name.
#ifdef __EMSCRIPTEN__
inline constexpr GLint kRgba8 = GL_RGBA;
#else
inline constexpr GLint kRgba8 = GL_RGBA8;
#endif

}  // namespace zrb::graphics
