// Vertex-array submission: OpenGL reads the quad's arrays in place.
#include "scene/quad.hpp"
#include "scene/submit.hpp"

const quad_index quad_indices[6] = {0, 1, 2, 3, 0, 2};

void draw_quad_arrays() {
    // Both pointers before either array is enabled; disabled in reverse so
    // that no client array stays enabled between frames.
    glColorPointer(3, GL_FLOAT, 0, quad_colours[0].data());
    glVertexPointer(2, GL_FLOAT, 0, quad_positions[0].data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glDrawElements(GL_TRIANGLES, 6, quad_index_type, quad_indices);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
