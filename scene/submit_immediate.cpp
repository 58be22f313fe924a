// Immediate-mode submission: each corner's colour, then its vertex.
#include "scene/quad.hpp"
#include "scene/submit.hpp"

// The calls between glBegin and glEnd are indented as a block of their own.
// clang-format off
void draw_quad_immediate() {
    glBegin(GL_QUADS);
        for (int i = 0; i < 4; ++i) {
            glColor3fv(quad_colours[i].data());
            glVertex2fv(quad_positions[i].data());
        }
    glEnd();
}
// clang-format on
