// The two submission stages: how the quad reaches OpenGL each frame.
#pragma once

#include <GL/gl.h>

// Two counter-clockwise triangles sharing the diagonal 0-2. Only the programs
// that draw with vertex arrays link it.
extern const GLuint quad_indices[6];

// Client vertex arrays pointing at the quad's own data, one indexed draw.
void draw_quad_arrays();

// One GL_QUADS primitive, a colour and a vertex call per corner.
void draw_quad_immediate();
