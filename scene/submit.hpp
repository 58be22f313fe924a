// The two submission stages: how the quad reaches OpenGL each frame.
#pragma once

#include <GL/gl.h>

// The type of the quad's indices. The browser's OpenGL emulation reads
// indices from client memory only as 16-bit values.
#if defined(__EMSCRIPTEN__)
using quad_index = GLushort;
constexpr GLenum quad_index_type = GL_UNSIGNED_SHORT;
#else
using quad_index = GLuint;
constexpr GLenum quad_index_type = GL_UNSIGNED_INT;
#endif

// Two counter-clockwise triangles sharing the diagonal 0-2. Only the programs
// that draw with vertex arrays link it.
extern const quad_index quad_indices[6];

// Client vertex arrays pointing at the quad's own data, one indexed draw.
void draw_quad_arrays();

// One GL_QUADS primitive, a colour and a vertex call per corner.
void draw_quad_immediate();
